#include "ScriptedDesktop.h"

#include <QPrinter>

#include <QDialog>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {
QString kindName(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Plain:
        return QStringLiteral("Plain");
    }
    return {};
}
} // namespace

void ScriptedDesktop::ShowMessage(MessageKind kind, const QString& text, const QString& detail) {
    Log << kindName(kind) + QStringLiteral(": ") + text;
    if (!detail.isEmpty())
        Log << QStringLiteral("Detail: ") + detail;
    if (OnMessage)
        OnMessage(kind, text);
}

void ScriptedDesktop::Beep() {
    Log << QStringLiteral("beep");
}

bool ScriptedDesktop::ExecutePrintDialog(QPrinter& printer) {
    Log << QStringLiteral("Print dialog");
    if (PrintAnswers.empty())
        return false;
    const std::optional<QString> answer = PrintAnswers.front();
    PrintAnswers.pop_front();
    if (!answer)
        return false;
    // Qt's own PDF printer stands in for a printer that this machine does not have.
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*answer);
    return true;
}

bool ScriptedDesktop::AskQuestion(const QString& text) {
    Log << QStringLiteral("Question: ") + text;
    if (QuestionAnswers.empty())
        return false;
    const bool yes = QuestionAnswers.front();
    QuestionAnswers.pop_front();
    return yes;
}

bool ScriptedDesktop::answerFileDialog(FileDialog& dialog) {
    FileDialogsShown.push_back(dialog);
    if (FileAnswers.empty())
        return false;
    auto answer = FileAnswers.front();
    FileAnswers.pop_front();
    if (!answer)
        return false;
    dialog.FileName = *answer;
    return true;
}

bool ScriptedDesktop::ExecuteOpenDialog(FileDialog& dialog) {
    return answerFileDialog(dialog);
}

bool ScriptedDesktop::ExecuteSaveDialog(FileDialog& dialog) {
    return answerFileDialog(dialog);
}

int ScriptedDesktop::ShowModal(QDialog& dialog) {
    QPointer<QDialog> target(&dialog);
    std::function<void(QDialog&)> script;
    if (!ModalScripts.empty()) {
        script = std::move(ModalScripts.front());
        ModalScripts.pop_front();
    }
    QTimer::singleShot(0, &dialog, [target, script] {
        if (!target)
            return;
        if (script)
            script(*target);
        else
            target->reject();
    });
    return dialog.exec();
}

void ScriptedDesktop::Sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds * SleepScale));
}

void ScriptedDesktop::OpenUrl(const QUrl& url) {
    UrlsOpened << url.toString();
}

QDateTime ScriptedDesktop::Now() {
    return FixedNow ? *FixedNow : QDateTime::currentDateTime();
}
