#include "PracovnikZarizeni.h"

#include <exception>

#include "Cas.h"
#include "Ukonceni.h"

TPracovnikZarizeni::TPracovnikZarizeni(vk::device::TVK7316R& modul, QObject* parent) : QObject(parent), Modul(modul)
{
    Vlakno.setObjectName(QStringLiteral("PracovnikZarizeni"));
    Kontext = new QObject;
    Kontext->moveToThread(&Vlakno);
    connect(&Vlakno, &QThread::finished, Kontext, &QObject::deleteLater);
    Vlakno.start();
    // The link's hooks belong to the thread that installs them: this is the
    // only place the worker's transfers look for a request to end, and no
    // event loop runs inside their waits.
    QMetaObject::invokeMethod(
        Kontext,
        [this] {
            vk::link::NastavPumpuZprav({});
            vk::link::NastavUkonceni([this] { return MaSkoncit(); }, Budik.Popisovac());
        },
        Qt::QueuedConnection);
}

TPracovnikZarizeni::~TPracovnikZarizeni()
{
    ZastavACekej();
    Vlakno.quit();
    Vlakno.wait();
}

bool TPracovnikZarizeni::SpustPraci(QObject* prijemce, TPrace prace, std::function<void()> hotovo,
                                    vk::procedures::TOznameni priOznameni, vk::link::TPrubeh priPrubehu,
                                    vk::procedures::TOznameni priVyjimce)
{
    if (Beh || !prijemce)
        return false;
    const std::uint64_t cislo = ++PosledniCislo;
    Beh = TBeh{cislo, prijemce, std::move(hotovo), std::move(priOznameni), std::move(priPrubehu), std::move(priVyjimce),
               {}};
    // Nobody is left to take the result: the transfer need not go on.
    Beh->HlidaniPrijemce = connect(prijemce, &QObject::destroyed, this, [this, cislo] {
        if (Beh && Beh->Cislo == cislo)
            Zastav();
    });
    QMetaObject::invokeMethod(
        Kontext, [this, cislo, prace = std::move(prace)] { Vykonej(cislo, prace); }, Qt::QueuedConnection);
    emit BehZmenen(true);
    return true;
}

void TPracovnikZarizeni::Zastav()
{
    if (!Beh)
        return;
    // The number first: a wait woken by the alarm asks MaSkoncit at once.
    ZastavitDo.store(Beh->Cislo);
    Budik.Zazvon();
}

void TPracovnikZarizeni::ZastavACekej()
{
    Q_ASSERT(QThread::currentThread() != &Vlakno);
    if (!Beh)
        return;
    const std::uint64_t cislo = Beh->Cislo;
    Zastav();
    {
        std::unique_lock zamek(Zamek);
        Skoncila.wait(zamek, [&] { return Dokoncena >= cislo; });
    }
    Ukonci();
}

void TPracovnikZarizeni::ProvedACekej(const std::function<void(vk::device::TVK7316R&)>& prace)
{
    Q_ASSERT(QThread::currentThread() != &Vlakno);
    QMetaObject::invokeMethod(
        Kontext, [this, &prace] { prace(Modul); }, Qt::BlockingQueuedConnection);
}

void TPracovnikZarizeni::Ukonci()
{
    disconnect(Beh->HlidaniPrijemce);
    Beh.reset();
    emit BehZmenen(false);
}

bool TPracovnikZarizeni::MaSkoncit() const
{
    return BeziciNaVlakne != 0 && ZastavitDo.load() >= BeziciNaVlakne;
}

void TPracovnikZarizeni::Vykonej(std::uint64_t cislo, const TPrace& prace)
{
    // Posted to this object, which lives on the window thread and outlives
    // the worker's thread, so they can never reach a destroyed receiver:
    // whether the receiver still lives is asked there.
    const vk::procedures::TOznameni oznam = [this, cislo](const std::string& text) {
        QMetaObject::invokeMethod(
            this, [this, cislo, text] { DorucOznameni(cislo, text); }, Qt::QueuedConnection);
    };
    const vk::link::TPrubeh prubeh = [this, cislo](std::uint64_t odeslano, std::uint64_t celkem) {
        QMetaObject::invokeMethod(
            this, [this, cislo, odeslano, celkem] { DorucPrubeh(cislo, odeslano, celkem); }, Qt::QueuedConnection);
    };
    // The alarm may still ring for the job before; a request for this one
    // made before its start rings it again.
    Budik.Ztis();
    BeziciNaVlakne = cislo;
    if (MaSkoncit())
        Budik.Zazvon();
    // Nothing below throws on purpose; an exception here (out of memory)
    // must neither end the thread nor leave the window waiting for a result:
    // the window learns what failed instead.
    std::optional<std::string> vyjimka;
    try {
        prace(Modul, oznam, prubeh);
    } catch (const std::exception& e) {
        vyjimka = e.what();
    } catch (...) {
        vyjimka = "neznámá výjimka";
    }
    BeziciNaVlakne = 0;
    {
        std::lock_guard zamek(Zamek);
        Dokoncena = cislo;
    }
    Skoncila.notify_all();
    QMetaObject::invokeMethod(
        this, [this, cislo, vyjimka] { DorucVysledek(cislo, vyjimka); }, Qt::QueuedConnection);
}

void TPracovnikZarizeni::DorucOznameni(std::uint64_t cislo, const std::string& text)
{
    if (!Beh || Beh->Cislo != cislo || !Beh->Prijemce || !Beh->PriOznameni)
        return;
    // A copy: the callback may end the job's window side (a close handler).
    const auto priOznameni = Beh->PriOznameni;
    priOznameni(text);
}

void TPracovnikZarizeni::DorucPrubeh(std::uint64_t cislo, std::uint64_t odeslano, std::uint64_t celkem)
{
    if (!Beh || Beh->Cislo != cislo || !Beh->Prijemce || !Beh->PriPrubehu)
        return;
    const auto priPrubehu = Beh->PriPrubehu;
    priPrubehu(odeslano, celkem);
}

void TPracovnikZarizeni::DorucVysledek(std::uint64_t cislo, const std::optional<std::string>& vyjimka)
{
    if (!Beh || Beh->Cislo != cislo)
        return;  // abandoned by ZastavACekej
    const QPointer<QObject> prijemce = Beh->Prijemce;
    const std::function<void()> hotovo = std::move(Beh->Hotovo);
    const vk::procedures::TOznameni priVyjimce = std::move(Beh->PriVyjimce);
    // Not running any more before hotovo, which may submit the next job.
    Ukonci();
    if (!prijemce)
        return;
    if (!vyjimka)
        hotovo();
    else if (priVyjimce)
        priVyjimce(std::string(vk::procedures::TextNeocekavanaChyba) + *vyjimka);
}
