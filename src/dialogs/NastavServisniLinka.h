#pragma once
// Unit NastavServisniLinka (= set the service line): the dialog for the
// RS-485 line on which the module is a Modbus RTU slave: its address, baud
// rate, parity, and the repeater between the two lines.
#include "KonfiguracniDialog.h"
#include "ServisniLinka.h"

class QComboBox;
class QLabel;
class QLineEdit;

class TFormNastavServisniLinka : public TDialogOblasti<vk::procedures::TOknoServisniLinka> {
    Q_OBJECT

public:
    explicit TFormNastavServisniLinka(QWidget* parent = nullptr);

protected:
    void UkazOkno(const vk::procedures::TOknoServisniLinka& okno) override;
    vk::procedures::TOknoServisniLinka Okno() const override;

private:
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* ComboBox3 = nullptr;
};
