#pragma once

#include "ui/Desktop.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class TGauge;
class TMain;

// The firmware-update dialog: "Plik" picks and checks a firmware file, "START" sends it to
// the recorder's boot loader while BarBoot shows the progress.
class TFboot : public QDialog {
    Q_OBJECT
public:
    TFboot(TMain& main, QWidget* owner);

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;     // "Plik"
    QPushButton* ButtonStart = nullptr; // "START"
    QLabel* LabelNazwaPliku = nullptr;  // the chosen file's path
    TGauge* BarBoot = nullptr;
    FileDialog OpenDialogBoot;

private:
    [[maybe_unused]] TMain& main_; // the dialog's behaviour works on the main window
};
