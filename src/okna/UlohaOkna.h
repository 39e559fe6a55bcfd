#pragma once
// Unit UlohaOkna (= a window's job): how a window runs its device work on
// the device worker. While the job runs, the window's controls that would
// start another transfer are disabled and, for a job the user waits on, a
// busy cursor shows; both come back when the result arrives. A window that
// closes, or is destroyed, first stops its job and waits for its end, so
// that the job cannot outlive the window on the connection record.
//
// TObnovaOkna adds the discipline of the windows that poll the module: the
// timer is off while a poll runs, so polls never overlap, and the next tick
// comes a set time after the last poll has answered. Requests the user
// makes meanwhile are flags the next poll serves.
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "Dekl.h"
#include "Oznameni.h"
#include "PracovnikZarizeni.h"
#include "Prubeh.h"

namespace vk::ui {
class TStavovyRadek;
}

class TUlohaOkna {
public:
    // `okno` receives the results; `pracovnik` is the window's own field
    // for the device worker, which its opener sets after construction (no
    // worker: no job runs); `kurzor` = a busy cursor while a job runs.
    TUlohaOkna(QWidget* okno, TPracovnikZarizeni* const& pracovnik, bool kurzor = true)
        : Pracovnik(pracovnik), Okno(okno), Kurzor(kurzor)
    {
    }
    ~TUlohaOkna() { ZastavACekej(); }
    TUlohaOkna(const TUlohaOkna&) = delete;
    TUlohaOkna& operator=(const TUlohaOkna&) = delete;

    // The controls disabled while a job runs (vypnout = switch off).
    void Vypnout(std::initializer_list<QWidget*> ovladace);

    // Runs uloha(modul, oznam[, prubeh]) on the worker, then hotovo(result)
    // on the window's thread; status texts and progress reach priOznameni
    // and priPrubehu before it. A job that throws ends like a failed one:
    // the controls come back, priOznameni shows what failed and poVyjimce
    // (after an exception) runs instead of hotovo. False, and nothing runs,
    // when a job of this window runs already or there is no worker.
    template <class F, class H>
    bool Spust(F uloha, H hotovo, vk::procedures::TOznameni priOznameni = {}, vk::link::TPrubeh priPrubehu = {},
               std::function<void()> poVyjimce = {})
    {
        if (BeziUloha || !Pracovnik)
            return false;
        vk::procedures::TOznameni priVyjimce = [this, priOznameni,
                                                poVyjimce = std::move(poVyjimce)](const std::string& text) {
            Konec();
            vk::procedures::Oznam(priOznameni, text);
            if (poVyjimce)
                poVyjimce();
        };
        const bool spusteno = Pracovnik->Spust(
            Okno, std::move(uloha),
            [this, hotovo = std::move(hotovo)](const auto& vysledek) mutable {
                Konec();
                hotovo(vysledek);
            },
            std::move(priOznameni), std::move(priPrubehu), std::move(priVyjimce));
        if (spusteno)
            Zacatek();
        return spusteno;
    }

    bool Bezi() const { return BeziUloha; }

    // Whether a job may talk to the module: the program state says connected
    // (Pripojeno = connected) and there is a worker. Otherwise the status bar
    // shows the not-connected text.
    bool Pripojeno(const vk::core::TData& dat, vk::ui::TStavovyRadek& stav) const;

    // Asks the running job to end (its transfer fails at once) without
    // waiting; its result still arrives.
    void Zastav();
    // For closing: stops the running job, waits for its end and drops its
    // result. Does nothing when none runs.
    void ZastavACekej();

private:
    TPracovnikZarizeni* const& Pracovnik;

    void Zacatek();  // the job started (zacatek = start)
    void Konec();    // the job ended (konec = end)

    QWidget* Okno;
    bool Kurzor;
    bool BeziUloha = false;
    std::vector<QPointer<QWidget>> Vypnute;
};

class TObnovaOkna {
public:
    // The timer starts here, its first tick `prvniMs` later (obnova =
    // refresh). Polls show no busy cursor: the user does not wait on them.
    TObnovaOkna(QWidget* okno, TPracovnikZarizeni* const& pracovnik, int prvniMs) : Uloha(okno, pracovnik, false)
    {
        Timer1.start(prvniMs);
    }

    QTimer Timer1;  // the window connects its poll to Timer1's timeout
    TUlohaOkna Uloha;

    // Runs one poll as Uloha.Spust does, with the timer off until it has
    // answered; then the timer runs again with `dalsiMs` (next).
    template <class F, class H>
    void Spust(F uloha, H hotovo, vk::procedures::TOznameni priOznameni, int dalsiMs)
    {
        Timer1.stop();
        const bool spusteno = Uloha.Spust(
            std::move(uloha),
            [this, hotovo = std::move(hotovo), dalsiMs](const auto& vysledek) mutable {
                hotovo(vysledek);
                Timer1.start(dalsiMs);
            },
            std::move(priOznameni), {}, [this, dalsiMs] { Timer1.start(dalsiMs); });
        if (!spusteno)
            Timer1.start(dalsiMs);
    }

    // For closing: no further tick, and a running poll stopped and waited for.
    void Zastav()
    {
        Timer1.stop();
        Uloha.ZastavACekej();
    }
};
