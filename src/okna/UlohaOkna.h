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

class TUlohaOkna {
public:
    // `okno` receives the results; `kurzor` = a busy cursor while a job
    // runs. The device worker comes later, from the window's opener.
    explicit TUlohaOkna(QWidget* okno, bool kurzor = true) : Okno(okno), Kurzor(kurzor) {}
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
        if (BeziUloha || !PracovnikOkna)
            return false;
        vk::procedures::TOznameni priVyjimce = [this, priOznameni,
                                                poVyjimce = std::move(poVyjimce)](const std::string& text) {
            Konec();
            vk::procedures::Oznam(priOznameni, text);
            if (poVyjimce)
                poVyjimce();
        };
        const bool spusteno = PracovnikOkna->Spust(
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

    // The device worker the jobs run on, owned by the window's opener (no
    // worker: no job runs). Not to be changed while a job runs.
    void NastavPracovnika(TPracovnikZarizeni* pracovnik) { PracovnikOkna = pracovnik; }
    TPracovnikZarizeni* Pracovnik() const { return PracovnikOkna; }

    bool Bezi() const { return BeziUloha; }

    // Asks the running job to end (its transfer fails at once) without
    // waiting; its result still arrives.
    void Zastav();
    // For closing: stops the running job, waits for its end and drops its
    // result. Does nothing when none runs.
    void ZastavACekej();

private:
    void Zacatek();  // the job started (zacatek = start)
    void Konec();    // the job ended (konec = end)

    TPracovnikZarizeni* PracovnikOkna = nullptr;
    QWidget* Okno;
    bool Kurzor;
    bool BeziUloha = false;
    std::vector<QPointer<QWidget>> Vypnute;
};

class TObnovaOkna {
public:
    // Polls run as jobs of `uloha`, the window's job helper; the timer
    // starts here, its first tick `prvniMs` later (obnova = refresh).
    TObnovaOkna(TUlohaOkna& uloha, int prvniMs) : Uloha(uloha) { Timer1.start(prvniMs); }

    QTimer Timer1;  // the window connects its poll to Timer1's timeout

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

private:
    TUlohaOkna& Uloha;
};
