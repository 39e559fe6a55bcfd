#pragma once
// A configuration dialog wired as the main window wires it, to the
// in-process simulator through a device worker, with the program state
// connected (Init) on the chosen link (DialogSim = dialog and simulator).
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>

#include "Dekl.h"
#include "KonfiguracniDialog.h"
#include "PracovnikZarizeni.h"
#include "SimModul.h"

class TDialogSim {
public:
    // Without a link the simulator does not run and the state is not
    // connected.
    bool Spust(vk::test::TLinkaSim linka, std::string& chyba)
    {
        if (!Sim.Spust(linka, chyba))
            return false;
        Dat.Init = true;
        Dat.Pripojeni.Rozhrani = linka == vk::test::TLinkaSim::Sit ? 1 : 0;
        return true;
    }

    template <class T>
    std::unique_ptr<T> Dialog()
    {
        auto d = std::make_unique<T>();
        d->Dat = &Dat;
        d->NastavPracovnika(Pracovnik.get());
        return d;
    }

    vk::test::TSimModul Sim;  // outlives the worker, which uses its record
    std::unique_ptr<TPracovnikZarizeni> Pracovnik = std::make_unique<TPracovnikZarizeni>(Sim.modul);
    vk::core::TData Dat = NovaData();

private:
    static vk::core::TData NovaData()
    {
        vk::core::TData d;
        vk::core::InicializaceDat(&d);
        return d;
    }
};

template <class T>
T* Prvek(QWidget* okno, const char* jmeno)
{
    return okno->findChild<T*>(QString::fromLatin1(jmeno));
}

// Clicks a button and waits until the job it started, if any, has ended.
template <class D>
bool Klikni(D& d, const char* tlacitko, int limitMs = 5000)
{
    QTest::mouseClick(Prvek<QPushButton>(&d, tlacitko), Qt::LeftButton);
    return QTest::qWaitFor([&] { return !d.Bezi(); }, limitMs);
}

inline QString U(const char* text)
{
    return QString::fromUtf8(text);
}
