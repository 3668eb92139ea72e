#pragma once

#include "firmware/FirmwareBlocks.h"
#include "ui/Desktop.h"

#include <QDialog>
#include <QList>

class QFrame;
class QLabel;
class QPushButton;
class TGauge;
class TFirmwareHost;

// The firmware-update dialog: "Plik" picks and checks a firmware file, "START" sends it to
// the recorder's boot loader while BarBoot shows the progress. The dialog closes itself when
// the transfer has ended, successfully or not; until then it cannot be closed.
class TFboot : public QDialog {
    Q_OBJECT
public:
    TFboot(TFirmwareHost& host, QWidget* owner);

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;     // "Plik"
    QPushButton* ButtonStart = nullptr; // "START"
    QLabel* LabelNazwaPliku = nullptr;  // the chosen file's path
    TGauge* BarBoot = nullptr;
    FileDialog OpenDialogBoot;

    void FormCreate();
    void Button1Click();     // choose and check a firmware file
    void ButtonStartClick(); // the transfer
    void FormClose();

protected:
    // Every way of closing ends here: refused while a transfer runs.
    void done(int result) override;

private:
    // Restart into the boot loader, the blocks, and the finish when all were acknowledged.
    void Transfer();

    TFirmwareHost& host_;
    // The blocks of the file chosen last, when it passed every check; empty: nothing to send.
    QList<FirmwareBlock> blocks_;
    bool transferRunning_ = false;
};
