#include "Simulator.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "Poruchy.h"
#include "Pty.h"
#include "RtuSlave.h"
#include "SerialovaLinka.h"
#include "StavModulu.h"
#include "TftpServer.h"

namespace vk::sim {

struct TSimulator::TVnitrek {
    TPoruchy Poruchy;
    TStavModulu Stav{Poruchy};
    TTftpServer Tftp{Stav, Poruchy};
    TPty Pty;
    std::unique_ptr<TRtuSlave> Slave;
    std::thread VlaknoTftp;          // thread of the TFTP server (Vlakno = thread)
    std::thread VlaknoSerial;        // thread of the serial slave
    std::atomic<bool> Konec{false};  // stop request (Konec = end)
    std::atomic<std::uint32_t> PocetPozadavku{0};
    mutable std::mutex Zamek;  // guards the fields below and start/stop
    bool Bezi = false;
    std::string AdresaLan;
    std::uint16_t PortLan = 0;
    std::string CestaSerial;
};

TSimulator::TSimulator() : v_(std::make_unique<TVnitrek>()) {}

TSimulator::~TSimulator()
{
    Zastav();
}

bool TSimulator::Spust(const TNastaveniSimulatoru& nastaveni, std::string& chyba)
{
    const std::lock_guard<std::mutex> z(v_->Zamek);
    if (v_->Bezi) {
        chyba = "Simulátor už běží";
        return false;
    }
    if (nastaveni.Adresa == 0) {
        chyba = "Adresa modulu musí být 1 až 255";
        return false;
    }
    if (nastaveni.OpakovaniTftpMs < 1) {
        chyba = "Čekání před opakováním TFTP musí být aspoň 1 ms";
        return false;
    }
    if (!v_->Stav.Otevri(nastaveni.SlozkaStavu, nastaveni.Adresa, nastaveni.KodBaud, chyba))
        return false;
    if (nastaveni.SpustitLan && !v_->Tftp.Otevri(nastaveni.Lan, chyba)) {
        v_->Stav.Zavri();
        return false;
    }
    if (nastaveni.SpustitSerial &&
        !v_->Pty.Otevri(nastaveni.Pty, chyba, RychlostLinky(nastaveni.KodBaud), nastaveni.KodParita == 2)) {
        v_->Tftp.Zavri();
        v_->Stav.Zavri();
        return false;
    }
    v_->Konec = false;
    v_->PocetPozadavku = 0;
    if (nastaveni.SpustitLan) {
        v_->AdresaLan = v_->Tftp.Adresa();
        v_->PortLan = v_->Tftp.Port();
        v_->Tftp.NastavZaznam(nastaveni.Zaznam);
        v_->Tftp.NastavOpakovani(nastaveni.OpakovaniTftpMs);
        v_->VlaknoTftp = std::thread([this] { v_->Tftp.Obsluhuj(v_->Konec, v_->PocetPozadavku); });
    }
    if (nastaveni.SpustitSerial) {
        v_->CestaSerial = v_->Pty.Odkaz().empty() ? v_->Pty.CestaSlave() : v_->Pty.Odkaz();
        v_->Slave = std::make_unique<TRtuSlave>(v_->Stav, v_->Poruchy, nastaveni.Adresa);
        const std::int32_t kodBaud = nastaveni.KodBaud;
        const std::int32_t kodParita = nastaveni.KodParita;
        const TDavky davky = nastaveni.Davky;
        const bool ozvena = nastaveni.Ozvena;
        v_->VlaknoSerial = std::thread([this, kodBaud, kodParita, davky, ozvena] {
            ObsluhujSerial(v_->Pty, *v_->Slave, kodBaud, kodParita, davky, ozvena, v_->Konec, v_->PocetPozadavku);
        });
    }
    v_->Bezi = true;
    return true;
}

void TSimulator::Zastav()
{
    const std::lock_guard<std::mutex> z(v_->Zamek);
    if (!v_->Bezi)
        return;
    v_->Konec = true;
    if (v_->VlaknoTftp.joinable())
        v_->VlaknoTftp.join();
    if (v_->VlaknoSerial.joinable())
        v_->VlaknoSerial.join();
    v_->Tftp.Zavri();
    v_->Pty.Zavri();
    v_->Slave.reset();
    v_->Stav.Zavri();
    v_->Bezi = false;
    v_->AdresaLan.clear();
    v_->PortLan = 0;
    v_->CestaSerial.clear();
}

bool TSimulator::Bezi() const
{
    const std::lock_guard<std::mutex> z(v_->Zamek);
    return v_->Bezi;
}

std::string TSimulator::AdresaLan() const
{
    const std::lock_guard<std::mutex> z(v_->Zamek);
    return v_->AdresaLan;
}

std::uint16_t TSimulator::PortLan() const
{
    const std::lock_guard<std::mutex> z(v_->Zamek);
    return v_->PortLan;
}

std::string TSimulator::CestaSerial() const
{
    const std::lock_guard<std::mutex> z(v_->Zamek);
    return v_->CestaSerial;
}

std::string TSimulator::SlozkaStavu() const
{
    return v_->Stav.Slozka();
}

std::vector<std::uint8_t> TSimulator::Soubor(const std::string& nazev) const
{
    return v_->Stav.Soubor(nazev);
}

bool TSimulator::NastavSoubor(const std::string& nazev, std::vector<std::uint8_t> obsah)
{
    return v_->Stav.NastavSoubor(nazev, std::move(obsah));
}

void TSimulator::NastavPoruchu(TPorucha porucha, bool zapnuto, std::uint32_t pocet)
{
    v_->Poruchy.Nastav(porucha, zapnuto, pocet);
}

void TSimulator::NastavBajtJineHodnoty(std::size_t bajt)
{
    v_->Poruchy.NastavBajtJineHodnoty(bajt);
}

void TSimulator::NastavZtratu(const TZtrata& ztrata)
{
    v_->Poruchy.NastavZtratu(ztrata);
}

std::vector<TDatagramTftp> TSimulator::DatagramyTftp() const
{
    return v_->Tftp.Datagramy();
}

void TSimulator::VymazDatagramyTftp()
{
    v_->Tftp.VymazDatagramy();
}

std::uint32_t TSimulator::PocetZapisu(const std::string& nazev) const
{
    return v_->Stav.PocetZapisu(nazev);
}

std::uint32_t TSimulator::PocetPozadavku() const
{
    return v_->PocetPozadavku.load();
}

}  // namespace vk::sim
