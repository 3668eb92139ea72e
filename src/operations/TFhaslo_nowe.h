#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class TEdit;
class TMain;

// The new-password dialog: the field holds the password sent to the recorder by "Zapisz".
class TFhaslo_nowe : public QDialog {
    Q_OBJECT
public:
    TFhaslo_nowe(TMain& main, QWidget* owner);

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    TEdit* Edit_haslo_nowe = nullptr;
    QPushButton* Button1 = nullptr; // "Zapisz"
    QPushButton* Button2 = nullptr; // "Anuluj"

    void FormCreate();
    void Button1Click();
    void Button2Click();
    // Runs however the dialog closes: "Zapisz", "Anuluj", the close box or Escape.
    void FormClose();

private:
    TMain& main_; // the dialog's behaviour works on the main window
};
