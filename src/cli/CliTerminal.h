#pragma once

#include <QByteArray>
#include <QString>

// Where tc8-cli's words go: data to standard output and nothing else there; errors,
// messages, steps and progress to standard error. Progress is a bar redrawn in place when
// standard error is a terminal, plain lines with --verbose otherwise, and nothing else.
class TCliTerminal {
public:
    TCliTerminal(bool quiet, bool verbose);
    ~TCliTerminal();

    void Data(const QString& line);
    void DataBytes(const QByteArray& bytes);
    // Whether some data did not reach standard output.
    bool DataLost() const { return dataLost_; }
    // Always said.
    void Error(const QString& line);
    // Said unless --quiet.
    void Message(const QString& line);
    // Said with --verbose.
    void Step(const QString& line);

    void Progress(const QString& caption, int position, int maximum);
    void EndProgress();

    // Whether a person can be asked: standard input and standard error are terminals.
    bool CanAsk() const;
    // Asks on standard error and reads the answer from standard input: "t" or "T" is yes. A
    // byte on `interrupt` (Ctrl+C's pipe) while it waits is no.
    bool Ask(const QString& question, int interrupt);

private:
    void Say(const QString& line);
    const bool quiet_;
    const bool verbose_;
    const bool errorIsTerminal_;
    QString progressCaption_;
    int progressPercent_ = -1;
    bool barShown_ = false;
    bool dataLost_ = false;
};
