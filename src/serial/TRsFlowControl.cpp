#include "serial/TRsFlowControl.h"

void TRsFlowControl::CopyFields(const TRsFlowControl& from) {
    outCtsFlow_ = from.outCtsFlow_;
    outDsrFlow_ = from.outDsrFlow_;
    controlDtr_ = from.controlDtr_;
    controlRts_ = from.controlRts_;
    xonXoffOut_ = from.xonXoffOut_;
    xonXoffIn_ = from.xonXoffIn_;
    dsrSensitivity_ = from.dsrSensitivity_;
    txContinueOnXoff_ = from.txContinueOnXoff_;
}
