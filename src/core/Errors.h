#pragma once

#include <QString>
#include <stdexcept>

// The program's error classes. Anything that escapes an event handler reaches the main
// window's handler (TMain::ApplicationException), which tells the kinds apart by class.

// Base of every error the program raises itself.
class Exception : public std::runtime_error {
public:
    explicit Exception(const QString& message)
        : std::runtime_error(message.toStdString()), Message(message) {}
    const QString Message;
};

// A value could not be converted (also raised when a serial device cannot be opened);
// shown to the user as "Port COM niedostępny".
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file could not be opened, created or closed; swallowed by the program-wide handler.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// A wait for the recorder whose session ended while it waited ("ROZŁĄCZ", a logoff or a new
// logon): its answer no longer means anything, so the operation that waits
// ends there without a word. Swallowed by the program-wide handler.
class EWaitAbandoned : public Exception {
public:
    EWaitAbandoned() : Exception(QStringLiteral("The session ended during the wait")) {}
};
