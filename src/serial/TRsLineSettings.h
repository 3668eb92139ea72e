#pragma once

#include "serial/RsTypes.h"

// The line settings of an open port, gathered from the component's properties and handed to
// the device in one piece. A backend applies what its platform can do and refuses the rest.
struct TRsLineSettings {
    int BitsPerSecond = 1200;
    int DataBits = 8;
    TRsParity Parity = paNone;
    TRsStopbits StopBits = sb1;
    bool ParityCheck = false;
    bool ReplaceErrors = false; // coErrorChar
    bool NullStrip = false;     // coNullStrip
    bool OutCtsFlow = false;
    bool OutDsrFlow = false;
    TRsControlDtr ControlDtr = dtrDisabled;
    TRsControlRts ControlRts = rtsDisabled;
    bool XonXoffOut = false;
    bool XonXoffIn = false;
    bool DsrSensitivity = false;
    bool TxContinueOnXoff = false;
    char XonChar = 0x11;
    char XoffChar = 0x13;
    char ErrorChar = 0;
};
