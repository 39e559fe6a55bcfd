#pragma once
// A UDP relay on 127.0.0.1 between the TFTP client and a real server that
// loses one datagram on purpose (ztrátový převaděč = lossy relay), and
// counts what crossed it. Each transfer port of the server gets a port of
// its own on the client's side, so the client sees the transfer IDs it would
// see from the server itself, also when a repeated request starts a second
// transfer. Header only, like TftpHpaServer.h.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>

#include "UdpSocket.h"

namespace vk::test {

class TZtratovyPrevadec {
public:
    // One datagram as it crossed (or did not): who sent it, opcode, block
    // number of DATA and ACK (else 0), lost here.
    struct TDatagram {
        bool OdKlienta = false;
        std::uint16_t Opcode = 0;
        std::uint16_t Cislo = 0;
        bool Ztracen = false;
    };

    TZtratovyPrevadec() = default;
    TZtratovyPrevadec(const TZtratovyPrevadec&) = delete;
    TZtratovyPrevadec& operator=(const TZtratovyPrevadec&) = delete;
    ~TZtratovyPrevadec()
    {
        konec_ = true;
        if (vlakno_.joinable())
            vlakno_.join();
    }

    // Relays to the server at `server` (its request port); loses the
    // `poradi`-th datagram the client sends (its request is the 1st), or the
    // server sends, counted over all transfers; 0 loses none.
    bool Spust(const std::string& server, bool odKlienta, int poradi, std::string& chyba)
    {
        odKlienta_ = odKlienta;
        poradi_ = poradi;
        vk::link::TAdresaUdp mistni;
        if (!vk::link::NajdiAdresu(server, 69, false, server_, chyba) ||
            !vk::link::NajdiAdresu("127.0.0.1", 0, false, mistni, chyba) || !hlavni_.OtevriNa(mistni, chyba) ||
            !kServeru_.OtevriNa(mistni, chyba))
            return false;
        mistni_ = mistni;
        vlakno_ = std::thread([this] { Bez(); });
        return true;
    }

    // The address the client is given as the module's.
    std::string Adresa() const { return hlavni_.MistniAdresa().Text(); }

    std::vector<TDatagram> Datagramy() const
    {
        const std::lock_guard<std::mutex> z(zamek_);
        return datagramy_;
    }

private:
    struct TPrenos {
        vk::link::TAdresaUdp Server;     // the server's transfer port
        vk::link::UdpSocket KKlientovi;  // its stand-in towards the client
    };

    void Bez()
    {
        std::vector<std::uint8_t> buf(65536);
        while (!konec_) {
            std::vector<pollfd> fds = {{hlavni_.Deskriptor(), POLLIN, 0}, {kServeru_.Deskriptor(), POLLIN, 0}};
            for (const auto& p : prenosy_)
                fds.push_back({p->KKlientovi.Deskriptor(), POLLIN, 0});
            if (::poll(fds.data(), fds.size(), 20) <= 0)
                continue;
            vk::link::TAdresaUdp od;
            if (fds[0].revents != 0) {
                const long n = hlavni_.Prijmi(buf.data(), buf.size(), 0, od);
                klient_ = od;
                if (n >= 0 && Projde(true, buf.data(), static_cast<std::size_t>(n)))
                    kServeru_.Posli(server_, buf.data(), static_cast<std::size_t>(n));
            }
            if (fds[1].revents != 0) {
                const long n = kServeru_.Prijmi(buf.data(), buf.size(), 0, od);
                if (n >= 0 && Projde(false, buf.data(), static_cast<std::size_t>(n)))
                    Prenos(od).KKlientovi.Posli(klient_, buf.data(), static_cast<std::size_t>(n));
            }
            for (std::size_t i = 2; i < fds.size(); ++i) {
                if (fds[i].revents == 0)
                    continue;
                TPrenos& p = *prenosy_[i - 2];
                const long n = p.KKlientovi.Prijmi(buf.data(), buf.size(), 0, od);
                if (n >= 0 && Projde(true, buf.data(), static_cast<std::size_t>(n)))
                    kServeru_.Posli(p.Server, buf.data(), static_cast<std::size_t>(n));
            }
        }
    }

    // The stand-in port of a server transfer port, made when it first speaks.
    TPrenos& Prenos(const vk::link::TAdresaUdp& server)
    {
        for (const auto& p : prenosy_) {
            if (p->Server == server)
                return *p;
        }
        auto p = std::make_unique<TPrenos>();
        p->Server = server;
        std::string chyba;
        p->KKlientovi.OtevriNa(mistni_, chyba);
        prenosy_.push_back(std::move(p));
        return *prenosy_.back();
    }

    // Counts and records the datagram; false when it is the one to lose.
    bool Projde(bool odKlienta, const std::uint8_t* d, std::size_t n)
    {
        TDatagram zaznam;
        zaznam.OdKlienta = odKlienta;
        zaznam.Opcode = n >= 2 ? static_cast<std::uint16_t>(d[0] << 8 | d[1]) : 0;
        if (n >= 4 && (zaznam.Opcode == 3 || zaznam.Opcode == 4))
            zaznam.Cislo = static_cast<std::uint16_t>(d[2] << 8 | d[3]);
        const int poradi = odKlienta ? ++pocetOdKlienta_ : ++pocetOdServeru_;
        zaznam.Ztracen = odKlienta == odKlienta_ && poradi == poradi_;
        const std::lock_guard<std::mutex> z(zamek_);
        datagramy_.push_back(zaznam);
        return !zaznam.Ztracen;
    }

    vk::link::UdpSocket hlavni_;    // the client's requests arrive here
    vk::link::UdpSocket kServeru_;  // everything to the server leaves from here
    vk::link::TAdresaUdp server_;
    vk::link::TAdresaUdp mistni_;
    vk::link::TAdresaUdp klient_;
    std::vector<std::unique_ptr<TPrenos>> prenosy_;
    bool odKlienta_ = false;
    int poradi_ = 0;
    int pocetOdKlienta_ = 0;
    int pocetOdServeru_ = 0;
    std::atomic<bool> konec_{false};
    std::thread vlakno_;
    mutable std::mutex zamek_;
    std::vector<TDatagram> datagramy_;
};

}  // namespace vk::test
