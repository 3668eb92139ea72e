#pragma once

#include <QString>

// What the recorder session tells a person, at the moment it happens. Each front end says it
// in its own way (the window with a box, a command line on stderr), in these words.
enum class TSessionReport {
    NoAnswer,                // a request unanswered through all its attempts
    ConfigReadNoAnswer,      // said once more by a configuration read that got no answer
    WrongPassword,           // the recorder refused the logon
    PasswordTooLong,         // the logon password does not fit in one request
    LoggedOut,               // the recorder confirmed the logout
    ClockSet,                // the recorder confirmed the new time
    HistoryCleared,          // the recorder cleared its history
    FirmwareStarting,        // a firmware update begins: the recorder must stay powered
    FirmwareNotAcknowledged, // the boot loader stopped acknowledging blocks
    FirmwareFinished,        // every block went and the boot loader was told so
};

enum class TReportKind { Error, Information, Warning };

struct TSessionReportText {
    TReportKind Kind;
    QString Text;
    bool Beep; // said with the default beep
};

TSessionReportText SessionReportText(TSessionReport report);
