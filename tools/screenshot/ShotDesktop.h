#pragma once

#include "ui/QtDesktop.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QStringList>
#include <functional>

class QWidget;

// The desktop of the screenshot tool: the program's real message boxes and dialogs, each
// photographed once it is on the screen when the tour asked for a picture of it, then
// closed as the tour says. File dialogs are answered by the tour; the beep stays silent.
class ShotDesktop : public QtDesktop {
public:
    explicit ShotDesktop(const QDir& output) : output_(output) { clockRunning_.start(); }

    using QtDesktop::ShowMessage;
    void ShowMessage(MessageKind kind, const QString& text, const QString& detail) override;
    void Beep() override {}
    bool ExecuteOpenDialog(FileDialog& dialog) override;
    bool ExecuteSaveDialog(FileDialog& dialog) override;
    int ShowModal(QDialog& dialog) override;
    // The tour's own clock, so that what the program dates by the PC's clock (the archive's
    // downloads) fits the simulated recorder's readings.
    QDateTime Now() override { return clockStart_.addMSecs(clockRunning_.elapsed()); }
    void SetClock(const QDateTime& now) {
        clockStart_ = now;
        clockRunning_.start();
    }

    // Writes a picture of the widget (without the window frame) into the output folder.
    bool Save(QWidget& widget, const QString& fileName);
    // Writes a picture of an area of the screen: a window together with its open popup.
    bool SaveScreenArea(const QRect& area, const QString& fileName);
    // Writes a picture of a PDF document's first page, as a reader shows it (pdftoppm).
    bool SavePdfFirstPage(const QString& pdfPath, const QString& fileName);

    // Message texts to photograph, with the file name of each picture; every box is closed
    // with "OK" once it is up.
    QHash<QString, QString> MessageShots;
    // What to do with a modal dialog, by its object name, once it is up; a dialog without
    // a script is closed at once.
    QHash<QString, std::function<void(QDialog&)>> DialogScripts;
    // Answers of the file dialogs; empty: cancelled.
    QString OpenAnswer;
    QString SaveAnswer;

    QStringList MessagesShown;
    QStringList PicturesWritten;
    QStringList Failures;

private:
    QDir output_;
    QDateTime clockStart_ = QDateTime::currentDateTime();
    QElapsedTimer clockRunning_;
};
