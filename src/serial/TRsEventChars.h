#pragma once

#include "serial/TRsPersistent.h"

// The special characters of the line settings. Every set notifies the owner (which then
// applies the line settings).
class TRsEventChars : public TRsPersistent {
public:
    char XonChar() const { return xonChar_; }
    void SetXonChar(char value) { Store(xonChar_, value, true); }
    char XoffChar() const { return xoffChar_; }
    void SetXoffChar(char value) { Store(xoffChar_, value, true); }
    char ErrorChar() const { return errorChar_; }
    void SetErrorChar(char value) { Store(errorChar_, value, true); }
    char EventChar() const { return eventChar_; }
    void SetEventChar(char value) { Store(eventChar_, value, true); }
    char EofChar() const { return eofChar_; }
    void SetEofChar(char value) { Store(eofChar_, value, true); }

    void Assign(const TRsEventChars& from) { AssignAll(*this, from); }

private:
    friend class TRsPersistent;
    void CopyFields(const TRsEventChars& from);

    char xonChar_ = 0x11;
    char xoffChar_ = 0x13;
    char errorChar_ = 0;
    char eventChar_ = 0;
    char eofChar_ = 0;
};
