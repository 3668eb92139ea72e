#include "archive/TCompanyArchiveDialog.h"

#include "archive/CompanyArchive.h"
#include "core/Guarded.h"
#include "ui/ControlBuilders.h"
#include "ui/Desktop.h"
#include "ui/WindowFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TCompanyArchiveDialog::TCompanyArchiveDialog(Desktop& desktop, const QString& target,
                                             QWidget* owner)
    : QDialog(owner), desktop_(desktop) {
    setObjectName(QStringLiteral("CompanyArchiveDialog"));
    setWindowTitle(QStringLiteral("Archiwum firmy"));
    setFont(WindowFont());

    auto* label = named(new QLabel(QStringLiteral("Adres archiwum firmy:"), this),
                        QStringLiteral("LabelAdres"));
    Edit_adres = named(new QLineEdit(target, this), QStringLiteral("Edit_adres"));
    Edit_adres->setPlaceholderText(
        QStringLiteral("postgresql://użytkownik@serwer/baza albo service=nazwa"));
    Edit_adres->setMinimumWidth(
        Edit_adres->fontMetrics().horizontalAdvance(Edit_adres->placeholderText()) + 24);
    Edit_adres->setToolTip(QStringLiteral("Puste pole: pobrania zostają tylko na tym komputerze"));
    labelField(label, Edit_adres);
    auto* about = named(
        new QLabel(QStringLiteral(
                       "Po każdym pobraniu historii program wysyła je do bazy PostgreSQL firmy; "
                       "bez połączenia pobrania czekają i idą przy następnym wysłaniu.\n"
                       "Hasło nie należy do adresu: zapisz je w pliku ~/.pgpass "
                       "(serwer:port:baza:użytkownik:hasło)."),
                   this),
        QStringLiteral("LabelOpis"));
    about->setWordWrap(true);

    ButtonOk = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel =
        named(new QPushButton(QStringLiteral("Anuluj"), this), QStringLiteral("ButtonCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonOk);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(Edit_adres);
    layout->addWidget(about);
    layout->addLayout(buttons);

    connect(ButtonOk, &QPushButton::clicked, this, Guarded(this, &TCompanyArchiveDialog::Accept));
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TCompanyArchiveDialog::Target() const {
    return Edit_adres->text().trimmed();
}

void TCompanyArchiveDialog::Accept() {
    QString problem;
    if (!Target().isEmpty() && CompanyConnectionString(Target(), &problem).isEmpty()) {
        desktop_.ShowMessage(MessageKind::Error, QStringLiteral("Niepoprawny adres archiwum firmy"),
                             problem);
        Edit_adres->setFocus();
        return;
    }
    accept();
}
