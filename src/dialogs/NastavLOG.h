#pragma once
// Unit NastavLOG (= set the logging): switches the module's event log in
// its flash memory on or off and chooses the kinds of events it records,
// one check box per kind. Reads the module when shown.
#include <array>

#include "KonfiguracniDialog.h"
#include "LogNastaveni.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QScrollArea;

class TFormNastavLOG : public TDialogOblasti<vk::procedures::TOknoLogNastaveni> {
    Q_OBJECT

public:
    explicit TFormNastavLOG(QWidget* parent = nullptr);

protected:
    void UkazOkno(const vk::procedures::TOknoLogNastaveni& okno) override;
    vk::procedures::TOknoLogNastaveni Okno() const override;

private:
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label3 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    std::array<QCheckBox*, 14> CheckBox{};  // CheckBox1 to CheckBox14, bit n - 1 each
};
