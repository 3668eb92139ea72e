#pragma once

#include "cli/CliOptions.h"
#include "operations/StatusRendering.h"
#include "protocol/PortDirectory.h"
#include "protocol/SessionDesktop.h"
#include "protocol/TSessionHost.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class QSocketNotifier;
class TCliTerminal;
class TRecorderSession;

// Ends a command with its exit code; what there was to say has been said.
struct TCliEnd {
    CliExit Code;
};

// What Ctrl+C (or SIGTERM) does at the moment.
enum class TInterruptMode {
    Abort,        // the command ends at once (exit 7)
    StopDownload, // the download stops as STOP stops it; a second one aborts
    EndWatch,     // a watch ends normally
    Refuse,       // the firmware transfer runs to its end
};

// tc8-cli's side of the recorder session: the session's desktop (its waits, and the clock a
// command may set), its host (reports become lines on standard error and the exit code),
// the port by number or path, and Ctrl+C.
class TCliSession : public QObject, public SessionDesktop, public TSessionHost {
    Q_OBJECT
public:
    TCliSession(const CliOptions& options, TCliTerminal& terminal);
    ~TCliSession() override;

    TRecorderSession& Session() const { return *session_; }
    TCliTerminal& Terminal() const { return terminal_; }
    // What Ctrl+C and SIGTERM write a byte to; -1 when there is none.
    static int InterruptFd();
    TPortDirectory& Ports() { return ports_; }

    // Opens the port and, with logOn, logs on; a failure is said and ends the command.
    void Open(bool logOn);
    // Logs off (with logOut, when still logged on) once every request has gone out, and
    // closes the port. A logout that is not answered ends the command as no answer does.
    void Close(bool logOut);

    // Handles events until `done` holds.
    void WaitUntil(const std::function<bool()>& done);
    // The first status answer from now on; the command ends when the recorder stops answering.
    StatusTexts NextStatus();

    // The failure reported so far (NoAnswer, PasswordRefused, FileRefused), or Done.
    CliExit Failure() const { return failure_; }
    // Ends the command when a failure was reported.
    void EndOnFailure() const;
    // The session logged off without the status it waited for: the failure said already, or
    // else that the recorder went silent (the session says nothing of a lost status poll).
    [[noreturn]] void EndWithoutStatus() const;
    bool Reported(TSessionReport report) const;

    void SetInterruptMode(TInterruptMode mode);
    // Ctrl+C came in the present mode (its effect is the mode's).
    bool Interrupted() const { return interrupted_; }
    // The clock that setting the recorder's clock reads; the PC's when not set.
    void SetClock(const QDateTime& time) { clock_ = time; }

    // SessionDesktop
    void ProcessMessages() override;
    void WaitForEvents() override;
    QDateTime Now() override;
    // TSessionHost
    void Report(TSessionReport report) override;
    void ReportRecordFault(RecordFault fault) override;
    void ReportArchiveProblem(const QString& text) override;

    // The program-wide error handler's part: an error inside an event handler.
    void HandleError(const std::exception& error);

signals:
    void StatusArrived(const StatusTexts& status);

private:
    void InterruptArrived();
    void ThrowIfAborted() const;
    void Fail(CliExit code);

    const CliOptions& options_;
    TCliTerminal& terminal_;
    TPortDirectory ports_;
    std::unique_ptr<TRecorderSession> session_;
    CliExit failure_ = CliExit::Done;
    QList<TSessionReport> reports_;
    QString lastError_;
    std::optional<QDateTime> clock_;

    TInterruptMode interruptMode_ = TInterruptMode::Abort;
    bool interrupted_ = false;
    bool aborted_ = false;
    QSocketNotifier* interruptNotifier_ = nullptr;
};
