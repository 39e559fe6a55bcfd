// Times the firmware upgrade window's upload as the user starts it: the
// window on the offscreen platform, its file field set to IMAGE, "Zapsat"
// pressed, until the window's job on the device worker has ended (the
// image sent with its progress bar fed, then boot.cmd "prog"). Each run
// prints its seconds, then the least and the median. Run by
// bench/upgrade_window_vs_cli.sh against the module simulator.
//
// Between two runs the window waits PauzaMs: the simulator stores each image
// in its state folder, and an upload right behind the last one met the
// disk's writeback of it and took up to six times as long; each run of the
// command-line tool has its connection attempt's wait before it.
//
// With --direct the same procedure runs on the calling thread instead, with
// no window and no worker, as the command-line tool runs it: the figure the
// window's is compared with, free of the tool's process start and
// connection attempt.
//
// upgrade_window --lan HOST:PORT | --serial DEVICE [--runs N] [--direct] IMAGE
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Dekl.h"
#include "Firmware.h"
#include "M_ModbusRTU.h"
#include "M_TFTP.h"
#include "PracovnikZarizeni.h"
#include "Rozhrani.h"
#include "UpgradeFW.h"

namespace {

constexpr int TimeoutLanMs = 1000;  // the command-line tool's default waits
constexpr int TimeoutSerialMs = 330;
constexpr std::int32_t KodBaud115200 = 8;
constexpr std::uint8_t AdresaModulu = 247;
constexpr int PauzaMs = 200;

int Pouziti()
{
    std::fputs("usage: upgrade_window --lan HOST:PORT | --serial DEVICE [--runs N] [--direct] IMAGE\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string lan, serial, obraz;
    int behu = 3;
    bool primo = false;  // --direct
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--lan" && i + 1 < argc)
            lan = argv[++i];
        else if (a == "--serial" && i + 1 < argc)
            serial = argv[++i];
        else if (a == "--direct")
            primo = true;
        else if (a == "--runs" && i + 1 < argc)
            behu = std::max(1, std::atoi(argv[++i]));
        else if (obraz.empty() && !a.empty() && a[0] != '-')
            obraz = a;
        else
            return Pouziti();
    }
    if (obraz.empty() || lan.empty() == serial.empty())
        return Pouziti();

    QApplication app(argc, argv);
    vk::device::TVK7316R modul;
    vk::device::VychoziModul(modul);
    TPracovnikZarizeni pracovnik(modul);
    bool otevreno = true;
    pracovnik.ProvedACekej([&](vk::device::TVK7316R& m) {
        if (!lan.empty()) {
            vk::link::InicializujTFTP(m.TFTP, lan, 0, TimeoutLanMs, 3);
            m.Rozhrani = vk::common::RozhraniLAN;
        } else {
            otevreno = vk::link::OtevriPort(1, KodBaud115200, 0, TimeoutSerialMs, m.MBRTU, serial) == 0;
            m.MBRTU.CFG.Adresa = AdresaModulu;
            m.Rozhrani = vk::common::RozhraniUART;
        }
        m.Init = otevreno;
    });
    if (!otevreno) {
        std::fprintf(stderr, "upgrade_window: cannot open %s\n", serial.c_str());
        return 1;
    }

    std::vector<double> casy;
    const auto vypis = [&casy] {
        std::sort(casy.begin(), casy.end());
        std::printf("min: %.4f s\n", casy.front());
        std::printf("median: %.4f s\n", casy[casy.size() / 2]);
    };
    if (primo) {
        // The worker is idle: this thread may use the record meanwhile.
        for (int i = 0; i < behu; ++i) {
            if (i > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(PauzaMs));
            QElapsedTimer hodiny;
            hodiny.start();
            const auto v = vk::procedures::ZapisFirmware(modul, true, obraz, {});
            if (!v.Aktivovano) {
                std::fprintf(stderr, "upgrade_window: run %d: %s\n", i + 1, v.Status.c_str());
                return 1;
            }
            casy.push_back(static_cast<double>(hodiny.nsecsElapsed()) / 1e9);
            std::printf("run %d: %.4f s\n", i + 1, casy.back());
            std::fflush(stdout);
        }
        pracovnik.ProvedACekej([](vk::device::TVK7316R& m) { vk::link::ZavriPort(m.MBRTU); });
        vypis();
        return 0;
    }

    vk::core::TData dat;
    vk::core::InicializaceDat(&dat);
    dat.Init = true;
    TFormUpgradeFW okno;
    okno.Dat = &dat;
    okno.NastavPracovnika(&pracovnik);
    okno.show();
    okno.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QString::fromStdString(obraz));
    auto* zapsat = okno.findChild<QPushButton*>(QStringLiteral("Button4"));

    const QString hotovo = QString::fromUtf8(" Firmware zapsán do modulu. Pro spuštění nutno modul restartovat.");
    for (int i = 0; i < behu; ++i) {
        if (i > 0) {
            QEventLoop pauza;
            QTimer::singleShot(PauzaMs, &pauza, &QEventLoop::quit);
            pauza.exec();
        }
        QElapsedTimer hodiny;
        hodiny.start();
        // The worker's end of the job, with no polling interval of its own
        // in the figure; a stalled link ends the job with its error.
        QEventLoop smycka;
        QObject::connect(&pracovnik, &TPracovnikZarizeni::BehZmenen, &smycka, [&](bool bezi) {
            if (!bezi)
                smycka.quit();
        });
        zapsat->click();
        if (okno.Bezi())
            smycka.exec();
        if (okno.Bezi() || okno.TextStavu() != hotovo) {
            std::fprintf(stderr, "upgrade_window: run %d: %s\n", i + 1, okno.TextStavu().toUtf8().constData());
            return 1;
        }
        casy.push_back(static_cast<double>(hodiny.nsecsElapsed()) / 1e9);
        std::printf("run %d: %.4f s\n", i + 1, casy.back());
        std::fflush(stdout);
    }
    pracovnik.ProvedACekej([](vk::device::TVK7316R& m) { vk::link::ZavriPort(m.MBRTU); });
    vypis();
    return 0;
}
