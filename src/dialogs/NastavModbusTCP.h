#pragma once
// Unit NastavModbusTCP: the dialog for the module's Modbus TCP settings,
// its unit identifier on the LAN and the time after which it drops an idle
// TCP connection.
#include "KonfiguracniDialog.h"
#include "ModbusTCP.h"

class QLabel;
class QLineEdit;

class TFormNastavModbusTCP : public TDialogOblasti<vk::procedures::TOknoModbusTCP> {
    Q_OBJECT

public:
    explicit TFormNastavModbusTCP(QWidget* parent = nullptr);

protected:
    void UkazOkno(const vk::procedures::TOknoModbusTCP& okno) override;
    vk::procedures::TOknoModbusTCP Okno() const override;

private:
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
};
