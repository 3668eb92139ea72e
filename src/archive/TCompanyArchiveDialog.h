#pragma once

#include <QDialog>

class Desktop;
class QLabel;
class QLineEdit;
class QPushButton;

// Where this PC sends its downloads: the company archive's address, or none. The address
// is checked as it is accepted; one with a password is refused, since the password belongs
// in ~/.pgpass.
class TCompanyArchiveDialog : public QDialog {
    Q_OBJECT
public:
    TCompanyArchiveDialog(Desktop& desktop, const QString& target, QWidget* owner);

    // What was accepted; empty: no company archive.
    QString Target() const;

    QLineEdit* Edit_adres = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;

private:
    void Accept();
    Desktop& desktop_;
};
