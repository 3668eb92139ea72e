#pragma once

#include "serial/TRsLineSettings.h"

#include <termios.h>

// Turns the line settings into raw-mode terminal attributes, starting from the device's
// current ones. Returns 0, or EINVAL for settings a Linux terminal cannot honour. When the
// speed has no termios constant, customSpeed is set and the caller sets it separately.
int MakeTermios(const TRsLineSettings& settings, termios& attributes, bool& customSpeed);
