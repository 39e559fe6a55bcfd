#pragma once
// Unit NastavVzdalenaSprava (= set the remote management): who may manage
// the module over the LAN: nobody, everybody, or the holders of the up to
// eight addresses of an access table. Reads the module when shown; the mode
// list puts the mode into the working copy at once. Here Button1 is
// "Zapsat" and Button2 "Přečíst".
#include <array>

#include "KonfiguracniDialog.h"
#include "VzdalenaSprava.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

class TFormNastavVzdalenaSprava : public TDialogOblasti<vk::procedures::TOknoVzdalenaSprava> {
    Q_OBJECT

public:
    explicit TFormNastavVzdalenaSprava(QWidget* parent = nullptr);

    void ComboBox1Change();  // the user changed the mode

protected:
    void UkazOkno(const vk::procedures::TOknoVzdalenaSprava& okno) override;
    vk::procedures::TOknoVzdalenaSprava Okno() const override;

private:
    void PovolTabulku(bool povolit);  // the table's 26 controls together (povol = enable)

    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label10 = nullptr;
    std::array<QLabel*, 8> Popisky{};   // Label2 to Label9: "Uživatel 1" to "Uživatel 8"
    std::array<QLineEdit*, 8> Edit{};   // Edit1 to Edit8
    std::array<QComboBox*, 8> Verze{};  // ComboBox2 to ComboBox9
};
