#pragma once
// Unit About: the about window TFormOProgramu (o programu = about the
// program): name, version, ownership notice, maker with logo and web address.
// It needs neither a connection nor the program state.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class TFormOProgramu : public QDialog {
    Q_OBJECT

public:
    explicit TFormOProgramu(QWidget* parent = nullptr);

    // The version shown (verze), independent of the build's own version.
    static constexpr char Verze[] = "1.01";
    // The maker's web address (adresa webu) that Label5 shows and opens.
    static constexpr char AdresaWebu[] = "https://www.vlnospoj.example/";

    void Label5Click();
    void Button1Click();

protected:
    bool eventFilter(QObject* objekt, QEvent* udalost) override;

private:
    void FormCreate();
    QWidget* VytvorLogo();

    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QFrame* Bevel1 = nullptr;
    QPushButton* Button1 = nullptr;
};
