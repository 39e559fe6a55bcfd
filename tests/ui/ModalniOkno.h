#pragma once
// Answers the next modal window from inside its own event loop, so a test
// can drive code that calls exec() without blocking. The answer must close
// the window; it is given at most once, and the watch gives up after the
// time limit, so a window that never comes does not hang the test.
#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

class TOdpovedNaModalni {
public:
    explicit TOdpovedNaModalni(std::function<void(QWidget*)> odpoved, int limitMs = 5000)
        : Odpoved(std::move(odpoved)), Limit(limitMs)
    {
        Casovac.setInterval(5);
        QObject::connect(&Casovac, &QTimer::timeout, [this] { Zkontroluj(); });
        Casovac.start();
    }

    bool Odpovezeno() const { return Hotovo; }  // a modal window came and was answered

private:
    void Zkontroluj()
    {
        if (QWidget* okno = QApplication::activeModalWidget()) {
            Casovac.stop();
            Hotovo = true;
            Odpoved(okno);
        } else if (Limit.hasExpired()) {
            Casovac.stop();
        }
    }

    std::function<void(QWidget*)> Odpoved;
    QDeadlineTimer Limit;
    QTimer Casovac;
    bool Hotovo = false;
};
