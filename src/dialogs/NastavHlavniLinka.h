#pragma once
// Unit NastavHlavniLinka (= set the master line): the dialog for the RS-485
// line on which the module is the Modbus RTU master: baud rate, parity, the
// reply time-out of the modules on that line and the retries after an
// error.
#include "HlavniLinka.h"
#include "KonfiguracniDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;

class TFormNastavHlavniLinka : public TDialogOblasti<vk::procedures::TOknoHlavniLinka> {
    Q_OBJECT

public:
    explicit TFormNastavHlavniLinka(QWidget* parent = nullptr);

protected:
    void UkazOkno(const vk::procedures::TOknoHlavniLinka& okno) override;
    vk::procedures::TOknoHlavniLinka Okno() const override;

private:
    QLabel* Label3 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
};
