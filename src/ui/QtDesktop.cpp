#include "ui/QtDesktop.h"
#include "ui/Texts.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

namespace {

// "Description|*.ext" becomes Qt's "Description (*.ext)".
QString qtFilter(const QString& filter) {
    const auto parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return out.join(QStringLiteral(";;"));
}

} // namespace

void QtDesktop::ShowMessage(MessageKind kind, const QString& text, const QString& detail) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption = Texts::ProgramName;
    switch (kind) {
    case MessageKind::Error:
        icon = QMessageBox::Critical;
        caption = QStringLiteral("Error");
        break;
    case MessageKind::Information:
        icon = QMessageBox::Information;
        caption = QStringLiteral("Information");
        break;
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        caption = QStringLiteral("Warning");
        break;
    case MessageKind::Plain:
        break;
    }
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parentWindow_);
    box.setInformativeText(detail);
    // Qt would wrap the detail to the width of the short text above it.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 56);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtDesktop::ExecutePrintDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, parentWindow_);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDesktop::AskQuestion(const QString& text) {
    QMessageBox box(QMessageBox::Question, Texts::ProgramName, text, QMessageBox::NoButton,
                    parentWindow_);
    QPushButton* yes = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
    // What cannot be undone is not done by a hasty Enter or by Escape.
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDesktop::Beep() {
    QApplication::beep();
}

bool QtDesktop::executeFileDialog(FileDialog& dialog, bool save) {
    QFileDialog fd(parentWindow_);
    fd.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    fd.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A file chosen for saving is replaced whole, without a question, as the user guide says.
    fd.setOption(QFileDialog::DontConfirmOverwrite, save);
    fd.setNameFilter(qtFilter(dialog.Filter));
    if (!dialog.DefaultExt.isEmpty())
        fd.setDefaultSuffix(dialog.DefaultExt);
    if (!dialog.InitialDir.isEmpty())
        fd.setDirectory(dialog.InitialDir);
    if (!dialog.FileName.isEmpty())
        fd.selectFile(QFileInfo(dialog.FileName).fileName());
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty())
        return false;
    dialog.FileName = fd.selectedFiles().constFirst();
    return true;
}

bool QtDesktop::ExecuteOpenDialog(FileDialog& dialog) {
    return executeFileDialog(dialog, false);
}

bool QtDesktop::ExecuteSaveDialog(FileDialog& dialog) {
    return executeFileDialog(dialog, true);
}

int QtDesktop::ShowModal(QDialog& dialog) {
    return dialog.exec();
}

void QtDesktop::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

void QtDesktop::CopyToClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}
