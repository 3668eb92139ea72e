#pragma once

#include "app/Errors.h"

// Every error of the serial-port component except the failure to open a device.
class ERsCommError : public Exception {
public:
    using Exception::Exception;
};
