#pragma once

#include "core/ErrorFunnel.h"

#include <QApplication>

// The window's application object: every event, also those handled inside nested event
// loops and modal boxes, passes through notify(); an exception that escapes a handler is
// caught there and given to OnException, so the program goes on.
class TApplication : public TFunnellingApplication<QApplication> {
public:
    TApplication(int& argc, char** argv);
};
