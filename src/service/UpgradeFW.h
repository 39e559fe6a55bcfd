#pragma once
// Unit UpgradeFW (= firmware upgrade): what firmware the module runs, the
// upload of a new image armed with the boot command "prog", the restart
// that starts it, and the module's boot command. Every transfer is a job on
// the device worker; while one runs the buttons that would start another
// are disabled. The upload reports the bytes sent on a progress bar and can
// be stopped ("Přerušit", or closing the window): a stopped upload is never
// armed, so the module keeps its firmware.
#include <string>

#include "OknoModulu.h"

class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace vk::procedures {
struct TVysledekFirmware;
}

class TFormUpgradeFW : public TOknoModulu {
    Q_OBJECT

public:
    explicit TFormUpgradeFW(QWidget* parent = nullptr);
    ~TFormUpgradeFW() override;

    // Without the program state the buttons do nothing. Only its Init and,
    // on show, its image's Upgrade record are used; nothing is written back
    // into it.
    // The window's own copy of the image (only Upgrade is used), taken from
    // Dat when shown.
    vk::core::TCFGVK CFGVK{};

    void FormShow() override;
    void Button1Click();  // "Cancel"
    void Button2Click();  // "Přečíst"
    void Button3Click();  // "..."
    void Button4Click();  // "Zapsat"
    void Button5Click();  // "Restart"
    void Button6Click();  // "Zobrazit boot.cmd"
    void Button7Click();  // "Zobrazit boot.log"
    void Button8Click();  // "Smazat"
    void Button9Click();  // "Přerušit" (stop the upload)

protected:
    void ZastavPraci() override;  // the upload stops with the window, "Přerušit" with it

private:
    // The record into the grid; `infoText` = the whole identity text the
    // type was cut from, when a read brought it.
    void ZapisOkno(const vk::core::TUpgrade& upgrade, const std::string& infoText = {});
    void UkazNeprazdnyStav(const std::string& text);  // shows a status that is not empty
    void Zapsano(const vk::procedures::TVysledekFirmware& v);

    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
};
