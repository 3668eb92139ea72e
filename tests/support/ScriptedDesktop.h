#pragma once

#include "ui/QtDesktop.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

// The desktop for tests. Every box and beep is recorded in Log, in order ("beep",
// "Error: <text>", "Information: <text>", ...), a box's line of detail as "Detail: <text>"
// after it; boxes return at once as if "OK" were pressed.
// File dialogs answer from a queue the test fills (no answer left: cancelled). Modal
// dialogs run for real; a queued script is run inside them once they are up. Event
// pumping is Qt's own.
class ScriptedDesktop : public QtDesktop {
public:
    using QtDesktop::ShowMessage;
    void ShowMessage(MessageKind kind, const QString& text, const QString& detail) override;
    void Beep() override;
    bool AskQuestion(const QString& text) override;
    // Answered from PrintAnswers: a path prints into that PDF file, nothing cancels.
    bool ExecutePrintDialog(QPrinter& printer) override;
    bool ExecuteOpenDialog(FileDialog& dialog) override;
    bool ExecuteSaveDialog(FileDialog& dialog) override;
    int ShowModal(QDialog& dialog) override;
    void Sleep(int milliseconds) override;
    void OpenUrl(const QUrl& url) override;
    void CopyToClipboard(const QString& text) override { Clipboard = text; }
    QDateTime Now() override;

    QStringList Log;
    // Called while a message box is "open", before it returns.
    std::function<void(MessageKind, const QString&)> OnMessage;
    // Answers of the questions, logged as "Question: <text>"; none left: "Nie".
    std::deque<bool> QuestionAnswers;
    std::deque<std::optional<QString>> PrintAnswers;
    // Answers of the file dialogs: a path, or nullopt for "cancel".
    std::deque<std::optional<QString>> FileAnswers;
    // The dialogs' states as the program set them up, in the order they were shown.
    std::vector<FileDialog> FileDialogsShown;
    // Scripts for modal dialogs; with none queued a dialog is rejected at once.
    std::deque<std::function<void(QDialog&)>> ModalScripts;
    QStringList UrlsOpened;
    QString Clipboard;
    std::optional<QDateTime> FixedNow;
    // Sleeps are real but scaled by this factor, so slow flows stay quick in tests.
    double SleepScale = 1.0;

    int CountOf(const QString& entry) const { return static_cast<int>(Log.count(entry)); }

private:
    bool answerFileDialog(FileDialog& dialog);
};
