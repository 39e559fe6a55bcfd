#pragma once
// Unit NastavLanParam (= set the network parameters): the dialog for the
// module's IPv4 address, mask, gateway and the choice between fixed
// settings and DHCP. The module's IPv6 settings are kept in hidden fields
// and never taken.
#include "KonfiguracniDialog.h"
#include "Lan4.h"

class QComboBox;
class QLabel;
class QLineEdit;

class TFormNastavLanParam : public TDialogOblasti<vk::procedures::TOknoLan4> {
    Q_OBJECT

public:
    explicit TFormNastavLanParam(QWidget* parent = nullptr);

    // The address fields are editable only with "Ručně" chosen (aktualizace
    // nastaveni = settings update); runs on the user's change of ComboBox1.
    void AktualizaceNastaveni();

protected:
    void UkazOkno(const vk::procedures::TOknoLan4& okno) override;
    vk::procedures::TOknoLan4 Okno() const override;

private:
    QLabel* Label8 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Edit7 = nullptr;
};
