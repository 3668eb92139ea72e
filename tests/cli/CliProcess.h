#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>
#include <csignal>

// tc8-cli run as a script runs it: its own process, no terminal, the test's environment
// (the private ports folder of the simulated line included).
class CliProcess {
public:
    explicit CliProcess(const QStringList& arguments, const QByteArray& input = {}) {
        process_.start(QStringLiteral(TC8_CLI), arguments);
        process_.waitForStarted();
        process_.write(input);
        process_.closeWriteChannel();
    }

    // Reads the output until standard error (or output) holds `text`; false when the
    // program ended or the deadline passed first.
    bool WaitForError(const QString& text, int timeoutMs = 60000) {
        return WaitFor([&] { return Error().contains(text); }, timeoutMs);
    }
    bool WaitForOutput(const QByteArray& text, int timeoutMs = 60000) {
        return WaitFor([&] { return output_.contains(text); }, timeoutMs);
    }
    void Signal(int signal) { ::kill(static_cast<pid_t>(process_.processId()), signal); }

    // Waits for the end; the exit code, -1 when it did not end by itself.
    int Finish(int timeoutMs = 120000) {
        if (!process_.waitForFinished(timeoutMs))
            return -1;
        Collect();
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

    const QByteArray& Output() const { return output_; }
    QString Error() const { return QString::fromUtf8(error_); }

private:
    bool WaitFor(const std::function<bool()>& seen, int timeoutMs) {
        const QDeadlineTimer deadline(timeoutMs);
        while (!seen()) {
            if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
                return false;
            process_.waitForReadyRead(100);
            Collect();
        }
        return true;
    }
    void Collect() {
        output_ += process_.readAllStandardOutput();
        error_ += process_.readAllStandardError();
    }

    QProcess process_;
    QByteArray output_;
    QByteArray error_;
};

struct CliResult {
    int Exit = -1;
    QByteArray Output;
    QString Error;
};

inline CliResult RunCli(const QStringList& arguments, const QByteArray& input = {}) {
    CliProcess process(arguments, input);
    const int exit = process.Finish();
    return {exit, process.Output(), process.Error()};
}
