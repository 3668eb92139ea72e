#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class TEdit;
class TPasswordHost;

// The new-password dialog: the field holds the password sent to the recorder by "Zapisz".
class TFhaslo_nowe : public QDialog {
    Q_OBJECT
public:
    TFhaslo_nowe(TPasswordHost& host, QWidget* owner);

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
    TPasswordHost& host_;
};
