// vk7316r-sim: a simulated VK-7316R module on the LAN and a pseudo-terminal.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

#include "ArgumentySim.h"
#include "SerialovaLinka.h"
#include "Simulator.h"

int main(int argc, char** argv)
{
    using namespace vk::sim;
    const std::vector<std::string> argumenty(argv + 1, argv + argc);
    TArgumentySim a;
    std::string chyba;
    if (!RozeberArgumenty(argumenty, a, chyba)) {
        std::cerr << "vk7316r-sim: " << chyba << "\n\n" << TextNapovedy();
        return 2;
    }
    if (a.Napoveda) {
        std::cout << TextNapovedy();
        return 0;
    }
    // The signals are taken by sigwait below; blocked before the threads
    // start, so that none of them is interrupted by one.
    sigset_t signaly;
    sigemptyset(&signaly);
    sigaddset(&signaly, SIGINT);
    sigaddset(&signaly, SIGTERM);
    sigaddset(&signaly, SIGHUP);  // a closed terminal stops it cleanly as well
    pthread_sigmask(SIG_BLOCK, &signaly, nullptr);

    // The log lines share stdout with the lines below; a script waits for
    // them, so each goes out whole and at once.
    std::mutex zamekVystupu;
    if (a.Zaznam)
        a.Nastaveni.Zaznam = [&zamekVystupu](const std::string& radek) {
            const std::lock_guard<std::mutex> z(zamekVystupu);
            std::cout << radek << std::endl;
        };
    TSimulator simulator;
    for (const auto& [porucha, pocet] : a.Poruchy)
        simulator.NastavPoruchu(porucha, true, pocet);
    if (a.Ztrata)
        simulator.NastavZtratu(*a.Ztrata);
    if (!simulator.Spust(a.Nastaveni, chyba)) {
        std::cerr << "vk7316r-sim: " << chyba << "\n";
        return 1;
    }
    std::unique_lock<std::mutex> vystup(zamekVystupu);
    if (a.Nastaveni.SpustitLan)
        std::cout << "LAN: " << simulator.AdresaLan() << "\n";
    if (a.Nastaveni.SpustitSerial)
        std::cout << "Serial: " << simulator.CestaSerial() << " (address " << int(a.Nastaveni.Adresa) << ", "
                  << RychlostLinky(a.Nastaveni.KodBaud) << " Bd, parity "
                  << (a.Nastaveni.KodParita == 0   ? "none"
                      : a.Nastaveni.KodParita == 2 ? "odd"
                                                   : "even")
                  << ")\n";
    std::cout << "State: " << simulator.SlozkaStavu() << "\n";
    if (a.Nastaveni.SpustitSerial && a.Nastaveni.Davky.Bajtu > 0)
        std::cout << "Bursts: " << a.Nastaveni.Davky.Bajtu << " bytes, " << a.Nastaveni.Davky.PauzaMs << " ms apart\n";
    if (a.Nastaveni.SpustitSerial && a.Nastaveni.Ozvena)
        std::cout << "Echo: every request written back ahead of its reply\n";
    for (const auto& [porucha, pocet] : a.Poruchy)
        std::cout << "Fault: " << NazevPoruchy(porucha) << (pocet ? " x" + std::to_string(pocet) : "") << "\n";
    if (a.Ztrata)
        std::cout << "Drop: " << (a.Ztrata->OdKlienta ? "client:" : "module:")
                  << (a.Ztrata->Poradi == 0 ? std::string("last") : std::to_string(a.Ztrata->Poradi)) << "\n";
    std::cout << std::flush;
    vystup.unlock();

    int signal = 0;
    sigwait(&signaly, &signal);
    simulator.Zastav();
    vystup.lock();
    std::cout << "Stopped (" << (signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "SIGHUP") << ")\n";
    return 0;
}
