#include "serial/TRsEventChars.h"

void TRsEventChars::CopyFields(const TRsEventChars& from) {
    xonChar_ = from.xonChar_;
    xoffChar_ = from.xoffChar_;
    errorChar_ = from.errorChar_;
    eventChar_ = from.eventChar_;
    eofChar_ = from.eofChar_;
}
