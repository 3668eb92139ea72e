#pragma once

#include "ui/Desktop.h"

class QWidget;

// The real desktop: Qt message boxes and file dialogs, QApplication::beep, the system clock.
class QtDesktop : public Desktop {
public:
    using Desktop::ShowMessage;
    void ShowMessage(MessageKind kind, const QString& text, const QString& detail) override;
    void Beep() override;
    bool AskQuestion(const QString& text) override;
    bool ExecuteOpenDialog(FileDialog& dialog) override;
    bool ExecuteSaveDialog(FileDialog& dialog) override;
    bool ExecutePrintDialog(QPrinter& printer) override;
    int ShowModal(QDialog& dialog) override;
    void OpenUrl(const QUrl& url) override;
    void CopyToClipboard(const QString& text) override;

    // The window that owns message boxes and file dialogs.
    void SetParentWindow(QWidget* window) { parentWindow_ = window; }

private:
    bool executeFileDialog(FileDialog& dialog, bool save);
    QWidget* parentWindow_ = nullptr;
};
