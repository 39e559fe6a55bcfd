// The about window: what it shows, a fresh version text per opening, the
// web address click and "Cancel".
#include <QDesktopServices>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "About.h"
#include "ModalniOkno.h"

class TestAbout : public QObject {
    Q_OBJECT

public slots:
    void otevri(const QUrl& url) { OtevreneAdresy.append(url); }

private slots:
    void obsah();
    void logo();
    void verzePriKazdemOtevreni();
    void odkaz();
    void cancel();

private:
    QList<QUrl> OtevreneAdresy;
};

namespace {
QLabel* Popisek(const QWidget& okno, const char* jmeno)
{
    return okno.findChild<QLabel*>(QString::fromLatin1(jmeno));
}
}  // namespace

void TestAbout::obsah()
{
    TFormOProgramu okno;
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    QCOMPARE(okno.windowTitle(), QStringLiteral(" O programu"));
    QCOMPARE(okno.minimumSize(), okno.maximumSize());

    QCOMPARE(Popisek(okno, "Label1")->text(), QStringLiteral("W_VK7316R"));
    QVERIFY(Popisek(okno, "Label1")->font().bold());
    QCOMPARE(Popisek(okno, "Label1")->font().pixelSize(), 19);
    QCOMPARE(Popisek(okno, "Label2")->text(), QStringLiteral("Verze  1.01"));
    QVERIFY(Popisek(okno, "Label3")->text().contains(QStringLiteral("2023")));
    QVERIFY(!Popisek(okno, "Label4")->text().isEmpty());

    QLabel* adresa = Popisek(okno, "Label5");
    QCOMPARE(adresa->text(), QString::fromLatin1(TFormOProgramu::AdresaWebu));
    QVERIFY(adresa->font().underline());
    QCOMPARE(adresa->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QCOMPARE(adresa->cursor().shape(), Qt::PointingHandCursor);

    auto* bevel = okno.findChild<QFrame*>(QStringLiteral("Bevel1"));
    QVERIFY(bevel);
    QCOMPARE(bevel->frameShape(), QFrame::HLine);
    QCOMPARE(okno.findChild<QPushButton*>(QStringLiteral("Button1"))->text(), QStringLiteral("Cancel"));
}

// The logo comes from the program's resources; a missing resource would
// leave an empty white panel.
void TestAbout::logo()
{
    TFormOProgramu okno;
    auto* panel = okno.findChild<QFrame*>(QStringLiteral("Panel1"));
    QVERIFY(panel);
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(panel->frameShadow(), QFrame::Sunken);

    QLabel* obrazek = Popisek(okno, "Image1");
    QVERIFY(obrazek && obrazek->parentWidget() == panel);
    QCOMPARE(obrazek->size(), QSize(93, 52));
    const QImage kresba = obrazek->pixmap().toImage();
    QVERIFY(!kresba.isNull());
    int kresleno = 0;
    for (int y = 0; y < kresba.height(); ++y)
        for (int x = 0; x < kresba.width(); ++x)
            if (qAlpha(kresba.pixel(x, y)) > 128)
                ++kresleno;
    const int vse = kresba.width() * kresba.height();
    QVERIFY2(kresleno > vse / 10, "logo not drawn");
    QVERIFY2(kresleno < vse, "logo without a transparent background");
}

void TestAbout::verzePriKazdemOtevreni()
{
    for (int otevreni = 0; otevreni < 2; ++otevreni) {
        TFormOProgramu okno;
        QString verze;
        TOdpovedNaModalni odpoved([&](QWidget* w) {
            verze = Popisek(*w, "Label2") ? Popisek(*w, "Label2")->text() : QString();
            w->close();
        });
        okno.exec();
        QVERIFY(odpoved.Odpovezeno());
        QCOMPARE(verze, QStringLiteral("Verze  1.01"));
    }
}

void TestAbout::odkaz()
{
    OtevreneAdresy.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "otevri");
    TFormOProgramu okno;
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    QLabel* adresa = Popisek(okno, "Label5");

    // Only a left click opens it, and nothing else comes up.
    TOdpovedNaModalni zadnaZprava([](QWidget* w) { w->close(); }, 200);
    QTest::mouseClick(adresa, Qt::RightButton);
    QVERIFY(OtevreneAdresy.isEmpty());
    QTest::mouseClick(adresa, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(OtevreneAdresy, QList<QUrl>{QUrl(QString::fromLatin1(TFormOProgramu::AdresaWebu))});
    QTest::qWait(250);
    QVERIFY(!zadnaZprava.Odpovezeno());
    QVERIFY(okno.isVisible());
}

void TestAbout::cancel()
{
    TFormOProgramu okno;
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    QTest::mouseClick(okno.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QVERIFY(!okno.isVisible());
    QCOMPARE(okno.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestAbout)
#include "About_test.moc"
