#pragma once

#include "protocol/SessionDesktop.h"

#include <QString>

class QDialog;
class QPrinter;
class QUrl;

enum class MessageKind {
    Error,       // caption "Error", error icon
    Information, // caption "Information", information icon
    Warning,     // caption "Warning", warning icon
    Plain        // the application's title, no icon
};

// State of a file dialog that lives as long as its owner (filter, default extension,
// initial folder and the name chosen last time).
struct FileDialog {
    QString Filter;     // "Description|*.ext"
    QString DefaultExt; // appended to a name typed without an extension
    QString InitialDir;
    QString FileName; // last name chosen; the result of a successful Execute
};

// Everything that talks to the person or the desktop goes through this one interface:
// message boxes and questions, the beep, file dialogs, modal windows and the web browser,
// beside the session's part (blocking sleeps, event pumping, the clock). The program uses
// QtDesktop; tests script it.
class Desktop : public SessionDesktop {
public:
    // A modal box with the single button "OK", and below its text a line of detail when
    // there is one; returns when it has been closed.
    virtual void ShowMessage(MessageKind kind, const QString& text, const QString& detail) = 0;
    void ShowMessage(MessageKind kind, const QString& text) { ShowMessage(kind, text, {}); }
    virtual void Beep() = 0;
    // A modal question with the buttons "Tak" and "Nie", "Nie" under Enter; true for "Tak".
    virtual bool AskQuestion(const QString& text) = 0;
    // True when the user chose a file; its full path is then in dialog.FileName.
    virtual bool ExecuteOpenDialog(FileDialog& dialog) = 0;
    virtual bool ExecuteSaveDialog(FileDialog& dialog) = 0;
    // The print dialog for the printer; true when the person chose to print.
    virtual bool ExecutePrintDialog(QPrinter& printer) = 0;
    // Shows a dialog modally and returns its result code when it has closed.
    virtual int ShowModal(QDialog& dialog) = 0;
    virtual void OpenUrl(const QUrl& url) = 0;
    virtual void CopyToClipboard(const QString& text) = 0;
};
