// The connection attempt: its panel texts in order and what it leaves in the
// device connection record and the program state, per outcome, against the
// in-process simulator over the pty and the LAN.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "M_ModbusRTU.h"
#include "PokusPripojeni.h"
#include "Rozhrani.h"
#include "SerialPort.h"
#include "Simulator.h"
#include "SysfsLatence.h"

using namespace vk::procedures;
using vk::sim::TPorucha;

namespace {

const std::string Uspech = "Připojení úspěšně inicializováno. Připojen modul   VK-7316R  v.1.00";

class Pripojeni : public ::testing::Test {
protected:
    void SetUp() override
    {
        vk::sim::TNastaveniSimulatoru n;
        n.KodBaud = 8;
        std::string chyba;
        ASSERT_TRUE(sim_.Spust(n, chyba)) << chyba;
        vk::device::VychoziModul(modul_);
        slozka_ = std::filesystem::temp_directory_path() /
                  ("vk_pripojeni_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(slozka_);
        // COM7 leads to the simulator's pty, as a settings file would say.
        std::ofstream(slozka_ / "W_vk7316r.ini") << "[Porty]\nCOM7=" << sim_.CestaSerial() << "\n";
        port_.Nastaveni = slozka_ / "W_vk7316r.ini";
        dat_.Pripojeni.LAN_IP = "predchozi";
        dat_.Pripojeni.UART_CisloCOM = 3;
        dat_.Par.fill(7);
    }
    void TearDown() override
    {
        vk::link::ZavriPort(modul_.MBRTU);
        sim_.Zastav();
        std::filesystem::remove_all(slozka_);
    }

    static TOknoPripojeni OknoUART()
    {
        TOknoPripojeni o;
        o.ComboBox1 = 0;
        o.Edit3 = "7";
        o.ComboBox3 = 6;  // 115200 Bd, the simulator's rate
        o.ComboBox4 = 0;
        o.Edit4 = "400";
        o.Edit5 = "247";
        return o;
    }
    TOknoPripojeni OknoLAN() const
    {
        TOknoPripojeni o;
        o.ComboBox1 = 1;
        o.Edit1 = sim_.AdresaLan();
        o.ComboBox2 = 0;
        o.Edit2 = "400";
        return o;
    }

    // One attempt as the dialog makes it; the texts reported on the way are
    // kept with the final one.
    TVysledekPripojeni Pripoj(const TOknoPripojeni& okno)
    {
        texty_.clear();
        const TVysledekPripojeni v = InicializujPripojeni(modul_, okno, dat_.Pripojeni, port_,
                                                          [&](const std::string& t) { texty_.push_back(t); });
        AplikujPripojeni(v, dat_);
        return v;
    }

    void OcekavejNeuspech(const vk::core::TPripojeni& pripojeni)
    {
        EXPECT_FALSE(dat_.Init);
        EXPECT_EQ(dat_.Pripojeni.LAN_IP, pripojeni.LAN_IP);
        EXPECT_EQ(dat_.Pripojeni.UART_CisloCOM, pripojeni.UART_CisloCOM);
        EXPECT_EQ(dat_.Pripojeni.Rozhrani, pripojeni.Rozhrani);
        EXPECT_EQ(dat_.TypVerze, "");
        EXPECT_EQ(dat_.SPripojeni, "");
        EXPECT_EQ(dat_.Par, vk::core::TPar{});
    }

    vk::sim::TSimulator sim_;
    vk::device::TVK7316R modul_;
    vk::core::TData dat_;
    TCestaPortu port_;
    std::filesystem::path slozka_;
    std::vector<std::string> texty_;
};

// What the dialog shows beside the device, and the gap the link then uses:
// catches a widened gap left unexplained, and a gap from the settings file
// that does not reach the port or loses to the adapter's timer.
TEST_F(Pripojeni, OdezvaPodleAdapteruANastaveni)
{
    const vk::test::TSysfsLatence sysfs;
    sysfs.Ukaz(sim_.CestaSerial(), "16\n");
    TVysledekPripojeni v = Pripoj(OknoUART());
    ASSERT_EQ(v.Konec, TKonecPripojeni::Uspech) << v.Panel1;
    EXPECT_EQ(v.Odezva, "odezva 20 ms (adaptér: latence 16 ms)");
    EXPECT_EQ(modul_.MBRTU.CFG.Mezera, 20);

    dat_.Pripojeni.UART_Mezera = 30;  // as the settings file gives it
    v = Pripoj(OknoUART());
    ASSERT_EQ(v.Konec, TKonecPripojeni::Uspech) << v.Panel1;
    EXPECT_EQ(v.Odezva, "odezva 30 ms (nastavena ručně)");
    EXPECT_EQ(modul_.MBRTU.CFG.Mezera, 30);
    EXPECT_EQ(dat_.Pripojeni.UART_Mezera, 30);  // kept for the next save
}

// The TFTP retries have no field in the dialog; they come with the settings:
// catches retries that do not reach the link, or that a successful attempt
// drops before the next save.
TEST_F(Pripojeni, OpakovaniZNastaveniDoLinky)
{
    dat_.Pripojeni.LAN_Opakovani = 5;  // as the settings file gives it
    const TVysledekPripojeni v = Pripoj(OknoLAN());
    ASSERT_EQ(v.Konec, TKonecPripojeni::Uspech) << v.Panel1;
    EXPECT_EQ(modul_.TFTP.CFG.Opakovani, 5);
    EXPECT_EQ(dat_.Pripojeni.LAN_Opakovani, 5);  // kept for the next save
}

TEST_F(Pripojeni, UspechPresPtyPodleSouboruNastaveni)
{
    const TVysledekPripojeni v = Pripoj(OknoUART());
    EXPECT_EQ(texty_, std::vector<std::string>{TextInicializace});
    EXPECT_EQ(v.Konec, TKonecPripojeni::Uspech);
    EXPECT_EQ(v.Panel1, Uspech);
    EXPECT_EQ(v.Zarizeni, sim_.CestaSerial());
    EXPECT_EQ(v.Odezva, "");  // the baud code's gap needs no word
    EXPECT_TRUE(dat_.Init);
    EXPECT_EQ(dat_.SPripojeni, "V pořádku");
    EXPECT_EQ(dat_.TypVerze, "VK-7316R  v.1.00");
    EXPECT_EQ(dat_.TypModulu, "VK-7316R");
    EXPECT_EQ(dat_.VerzeModulu, "1.00");
    EXPECT_EQ(dat_.VyrCislo, "23110042");
    EXPECT_EQ(dat_.Par, vk::core::TPar{});
    EXPECT_EQ(dat_.Pripojeni.Rozhrani, 0);
    EXPECT_EQ(dat_.Pripojeni.UART_CisloCOM, 7);
    EXPECT_EQ(dat_.Pripojeni.UART_KodBaud, 8);
    EXPECT_EQ(dat_.Pripojeni.UART_KodParita, 0);
    EXPECT_EQ(dat_.Pripojeni.UART_Timeout, 400);
    EXPECT_EQ(dat_.Pripojeni.UART_Adresa, 247);
    EXPECT_EQ(dat_.Pripojeni.LAN_IP, "predchozi");  // the other interface's entries are not taken
    EXPECT_TRUE(modul_.Init);
    EXPECT_EQ(modul_.Rozhrani, 0);
    EXPECT_NE(modul_.MBRTU.ID.HNDL, 0u);
    EXPECT_EQ(modul_.MBRTU.CFG.Adresa, 247);
}

// Both ends of the address range reach a module at that address; catches a
// range narrowed at either end (1-254, 2-255).
TEST_F(Pripojeni, AdresaModuluNaKrajichRozsahu)
{
    for (const std::uint8_t adresa : {std::uint8_t{1}, std::uint8_t{255}}) {
        SCOPED_TRACE(adresa);
        vk::sim::TSimulator modul;
        vk::sim::TNastaveniSimulatoru n;
        n.KodBaud = 8;
        n.Adresa = adresa;
        n.SpustitLan = false;
        std::string chyba;
        ASSERT_TRUE(modul.Spust(n, chyba)) << chyba;
        std::ofstream(slozka_ / "W_vk7316r.ini") << "[Porty]\nCOM7=" << modul.CestaSerial() << "\n";
        TOknoPripojeni o = OknoUART();
        o.Edit5 = std::to_string(adresa);
        const TVysledekPripojeni v = Pripoj(o);
        EXPECT_EQ(v.Panel1, Uspech);
        EXPECT_EQ(dat_.Pripojeni.UART_Adresa, adresa);
        EXPECT_EQ(modul_.MBRTU.CFG.Adresa, adresa);
        vk::link::ZavriPort(modul_.MBRTU);
    }
}

TEST_F(Pripojeni, UspechPresLanZavreDrivejsiSeriovouLinku)
{
    ASSERT_EQ(Pripoj(OknoUART()).Konec, TKonecPripojeni::Uspech);
    const TVysledekPripojeni v = Pripoj(OknoLAN());
    EXPECT_EQ(v.Panel1, Uspech);
    EXPECT_TRUE(dat_.Init);
    EXPECT_EQ(dat_.Pripojeni.Rozhrani, 1);
    EXPECT_EQ(dat_.Pripojeni.LAN_IP, sim_.AdresaLan());
    EXPECT_EQ(dat_.Pripojeni.LAN_Timeout, 400);
    EXPECT_EQ(dat_.Pripojeni.UART_CisloCOM, 7);  // kept from the serial attempt
    EXPECT_TRUE(modul_.Init);
    EXPECT_EQ(modul_.Rozhrani, 1);
    EXPECT_EQ(modul_.MBRTU.ID.HNDL, 0u);
}

// Each invalid entry, after a successful serial attempt: its message, no
// traffic, the earlier settings kept, the link closed all the same.
TEST_F(Pripojeni, NeplatnyUdajZavreLinkuANechaNastaveni)
{
    struct TPripad {
        TOknoPripojeni okno;
        const char* text;
    };
    std::vector<TPripad> pripady;
    auto uart = [](auto zmena) {
        TOknoPripojeni o = OknoUART();
        zmena(o);
        return o;
    };
    for (const char* com : {"0", "256", "abc", ""})
        pripady.push_back({uart([&](TOknoPripojeni& o) { o.Edit3 = com; }), "Neplatné číslo COM portu (1-255)"});
    for (const char* t : {"0", "65536", "-5"})
        pripady.push_back({uart([&](TOknoPripojeni& o) { o.Edit4 = t; }), "Neplatný UART timeout (1-65535 ms)"});
    for (const char* a : {"0", "256"})
        pripady.push_back({uart([&](TOknoPripojeni& o) { o.Edit5 = a; }), "Neplatná adresa modulu (1-255)"});
    TOknoPripojeni lan = OknoLAN();
    lan.Edit1 = "";
    pripady.push_back({lan, "Neplatná IP adresa"});
    for (const char* t : {"0", "65536"}) {
        lan = OknoLAN();
        lan.Edit2 = t;
        pripady.push_back({lan, "Neplatný LAN timeout (1-65535 ms)"});
    }
    // The first invalid field is reported, whatever follows it.
    pripady.push_back({uart([](TOknoPripojeni& o) {
                           o.Edit3 = "0";
                           o.Edit4 = "0";
                       }),
                       "Neplatné číslo COM portu (1-255)"});

    ASSERT_EQ(Pripoj(OknoUART()).Konec, TKonecPripojeni::Uspech);
    const vk::core::TPripojeni predchozi = dat_.Pripojeni;
    dat_.Init = true;
    for (const auto& p : pripady) {
        SCOPED_TRACE(p.text);
        dat_.Par.fill(7);
        const std::uint32_t pozadavku = sim_.PocetPozadavku();
        const TVysledekPripojeni v = Pripoj(p.okno);
        EXPECT_EQ(v.Konec, TKonecPripojeni::NeplatnyUdaj);
        EXPECT_EQ(v.Panel1, p.text);
        EXPECT_EQ(texty_, std::vector<std::string>{TextInicializace});
        EXPECT_FALSE(dat_.Init);
        EXPECT_EQ(dat_.Par, vk::core::TPar{});
        EXPECT_EQ(dat_.Pripojeni.UART_Timeout, predchozi.UART_Timeout);
        EXPECT_EQ(dat_.Pripojeni.LAN_IP, predchozi.LAN_IP);
        EXPECT_EQ(dat_.SPripojeni, "V pořádku");
        EXPECT_FALSE(modul_.Init);
        EXPECT_EQ(modul_.MBRTU.ID.HNDL, 0u);
        EXPECT_EQ(sim_.PocetPozadavku(), pozadavku);
    }
}

// A choice outside its list is replaced and the dialog shows the
// replacement; it is not reported, and stays replaced when a later field
// fails.
TEST_F(Pripojeni, VolbaMimoSeznamSeNahradi)
{
    TOknoPripojeni o = OknoUART();
    o.ComboBox1 = 5;
    o.ComboBox3 = 7;  // code 9
    o.ComboBox4 = -1;
    o.Edit5 = "0";
    TVysledekPripojeni v = Pripoj(o);
    EXPECT_EQ(v.Panel1, "Neplatná adresa modulu (1-255)");
    EXPECT_EQ(v.ComboBox1, 0);
    EXPECT_EQ(v.ComboBox3, 2);
    EXPECT_EQ(v.ComboBox4, 1);
    EXPECT_EQ(v.Pripojeni.UART_KodBaud, 4);
    EXPECT_EQ(v.Pripojeni.UART_KodParita, 1);

    // No baud item (-1) gives code 1, which the range lets through.
    o = OknoUART();
    o.ComboBox3 = -1;
    o.Edit5 = "0";
    v = Pripoj(o);
    EXPECT_EQ(v.ComboBox3, -1);
    EXPECT_EQ(v.Pripojeni.UART_KodBaud, 1);

    TOknoPripojeni lan = OknoLAN();
    lan.ComboBox2 = -1;
    v = Pripoj(lan);
    EXPECT_EQ(v.Konec, TKonecPripojeni::Uspech);
    EXPECT_EQ(v.ComboBox2, 0);
    EXPECT_EQ(dat_.Pripojeni.LAN_VerzeIP, 0);
}

TEST_F(Pripojeni, PortSeNeotevreSDuvodem)
{
    TOknoPripojeni o = OknoUART();
    o.Edit3 = "200";
    std::ofstream(port_.Nastaveni) << "[Porty]\nCOM200=" << (slozka_ / "chybi").string() << "\n";
    const TVysledekPripojeni v = Pripoj(o);
    EXPECT_EQ(v.Konec, TKonecPripojeni::ChybaPortu);
    EXPECT_EQ(v.Panel1, "Chyba otevření COM200");
    ASSERT_TRUE(v.COM.has_value());
    EXPECT_EQ(v.COM->Duvod, "Zařízení " + (slozka_ / "chybi").string() + " neexistuje.");
    OcekavejNeuspech(vk::core::TPripojeni{.LAN_IP = "predchozi", .UART_CisloCOM = 3});
    EXPECT_FALSE(modul_.Init);
    EXPECT_EQ(modul_.MBRTU.ID.HNDL, 0u);
}

// The settings' RS-485 mode and echo switch reach the port, and a port that
// refuses the mode (the simulator's pty) is not opened, with the reason the
// dialog and the command line show. Catches the keys not reaching the port
// (or the two RTS levels swapped), the refusal hidden behind a device that
// opens fine, and a request sent over a port left half set up.
TEST_F(Pripojeni, RS485AOzvenaZNastaveni)
{
    dat_.Pripojeni.UART_RS485 = 1;
    TVysledekPripojeni v = Pripoj(OknoUART());
    EXPECT_EQ(v.Konec, TKonecPripojeni::ChybaPortu);
    EXPECT_EQ(v.Panel1, "Chyba otevření COM7");
    ASSERT_TRUE(v.COM.has_value());
    EXPECT_EQ(v.COM->Duvod,
              "Zařízení " + sim_.CestaSerial() + " nepodporuje režim RS-485: Inappropriate ioctl for device.");
    EXPECT_EQ(modul_.MBRTU.ID.HNDL, 0u);
    EXPECT_EQ(sim_.PocetPozadavku(), 0u);

    std::vector<serial_rs485> zadosti;
    vk::link::SerialPort::NastavPredaniRS485([&](int, serial_rs485& z) {
        zadosti.push_back(z);
        return 0;
    });
    dat_.Pripojeni.UART_RS485 = 2;
    dat_.Pripojeni.UART_RS485ZpozdeniPred = 3;
    dat_.Pripojeni.UART_RS485ZpozdeniPo = 4;
    dat_.Pripojeni.UART_Echo = 0;
    v = Pripoj(OknoUART());
    vk::link::SerialPort::NastavPredaniRS485({});
    EXPECT_EQ(v.Konec, TKonecPripojeni::Uspech) << v.Panel1;
    ASSERT_EQ(zadosti.size(), 1u);
    EXPECT_EQ(zadosti[0].flags, static_cast<std::uint32_t>(SER_RS485_ENABLED | SER_RS485_RTS_AFTER_SEND));
    EXPECT_EQ(zadosti[0].delay_rts_before_send, 3u);
    EXPECT_EQ(zadosti[0].delay_rts_after_send, 4u);
    EXPECT_FALSE(modul_.MBRTU.CFG.OdstranitOzvenu);
}

// A module that does not answer, or one that is not supported, leaves the
// link set up (open on the serial line) but the program not connected.
TEST_F(Pripojeni, IdentifikaceATypNaObouLinkach)
{
    struct TPripad {
        TPorucha porucha;
        bool uart;
        TKonecPripojeni konec;
        std::string text;
    };
    const std::vector<TPripad> pripady = {
        {TPorucha::ZadnaOdpoved, true, TKonecPripojeni::ChybaIdentifikace, "Chyba spojení s modulem"},
        {TPorucha::ZadnaOdpoved, false, TKonecPripojeni::ChybaIdentifikace, "Chyba spojení"},
        {TPorucha::JinyTyp, true, TKonecPripojeni::NepodporovanyTyp,
         "Připojený modulu není programem podporován - VK-7317R  v.1.00"},
        {TPorucha::JinyTyp, false, TKonecPripojeni::NepodporovanyTyp,
         "Připojený modulu není programem podporován - VK-7317R  v.1.00"},
        {TPorucha::JinaVerze, true, TKonecPripojeni::NepodporovanaVerze,
         "Verze připojeného modulu není programem podporována - VK-7316R  v.2.10"},
        {TPorucha::JinaVerze, false, TKonecPripojeni::NepodporovanaVerze,
         "Verze připojeného modulu není programem podporována - VK-7316R  v.2.10"},
    };
    for (const auto& p : pripady) {
        SCOPED_TRACE(p.text + (p.uart ? " UART" : " LAN"));
        sim_.NastavPoruchu(p.porucha, true);
        const TVysledekPripojeni v = Pripoj(p.uart ? OknoUART() : OknoLAN());
        sim_.NastavPoruchu(p.porucha, false);
        EXPECT_EQ(v.Konec, p.konec);
        EXPECT_EQ(v.Panel1, p.text);
        EXPECT_EQ(v.Pricina.empty(), p.konec != TKonecPripojeni::ChybaIdentifikace);  // a refusal is no link failure
        OcekavejNeuspech(vk::core::TPripojeni{.LAN_IP = "predchozi", .UART_CisloCOM = 3});
        EXPECT_TRUE(modul_.Init);
        EXPECT_EQ(modul_.Rozhrani, p.uart ? 0 : 1);
        EXPECT_EQ(modul_.MBRTU.ID.HNDL != 0u, p.uart);
    }
}

TEST_F(Pripojeni, NeuspechPoUspechuNechaDrivejsiPripojeni)
{
    ASSERT_EQ(Pripoj(OknoLAN()).Konec, TKonecPripojeni::Uspech);
    const vk::core::TPripojeni uspesne = dat_.Pripojeni;
    sim_.NastavPoruchu(TPorucha::JinaVerze, true);
    TOknoPripojeni o = OknoUART();
    const TVysledekPripojeni v = Pripoj(o);
    EXPECT_EQ(v.Konec, TKonecPripojeni::NepodporovanaVerze);
    EXPECT_FALSE(dat_.Init);
    EXPECT_EQ(dat_.Pripojeni.Rozhrani, 1);
    EXPECT_EQ(dat_.Pripojeni.LAN_IP, uspesne.LAN_IP);
    EXPECT_EQ(dat_.Pripojeni.UART_CisloCOM, 3);
    EXPECT_EQ(dat_.TypVerze, "VK-7316R  v.1.00");  // the identity of the last success
    EXPECT_EQ(dat_.SPripojeni, "V pořádku");
}

TEST(PripojeniOkno, ZobrazeniOpraviRozhraniAPlniOvladace)
{
    vk::core::TPripojeni p;
    p.Rozhrani = 2;
    p.LAN_IP = "10.0.0.5";
    p.LAN_VerzeIP = 1;
    p.LAN_Timeout = 1000;
    p.UART_CisloCOM = 4;
    p.UART_KodBaud = 8;
    p.UART_KodParita = 2;
    p.UART_Timeout = 330;
    p.UART_Adresa = 247;
    OpravRozhrani(p);
    EXPECT_EQ(p.Rozhrani, 0);
    const TOknoPripojeni o = ZapisOkno(p);
    EXPECT_EQ(o.ComboBox1, 0);
    EXPECT_EQ(o.Edit1, "10.0.0.5");
    EXPECT_EQ(o.ComboBox2, 1);
    EXPECT_EQ(o.Edit2, "1000");
    EXPECT_EQ(o.Edit3, "4");
    EXPECT_EQ(o.ComboBox3, 6);
    EXPECT_EQ(o.ComboBox4, 2);
    EXPECT_EQ(o.Edit4, "330");
    EXPECT_EQ(o.Edit5, "247");
    p.Rozhrani = -1;
    OpravRozhrani(p);
    EXPECT_EQ(p.Rozhrani, 0);
    p.Rozhrani = vk::common::RozhraniLAN;
    OpravRozhrani(p);
    EXPECT_EQ(p.Rozhrani, 1);
}

}  // namespace
