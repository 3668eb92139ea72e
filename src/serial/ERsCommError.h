#pragma once

#include "core/Errors.h"

// Every error of the serial-port component except the failure to open a device.
class ERsCommError : public Exception {
public:
    using Exception::Exception;
};

// A device that could not be opened: the conversion error the program reports as "Port COM
// niedostępny", with what it takes to say why.
class ERsOpenError : public EConvertError {
public:
    ERsOpenError(const QString& message, QString portName, QString path, int systemError,
                 QString systemMessage)
        : EConvertError(message), PortName(std::move(portName)), Path(std::move(path)),
          SystemError(systemError), SystemMessage(std::move(systemMessage)) {}
    const QString PortName;      // "COM3"
    const QString Path;          // what was opened; empty when the name stands for nothing
    const int SystemError;       // the platform's error code
    const QString SystemMessage; // the platform's text for it
};
