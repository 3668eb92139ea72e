#pragma once

#include "serial/RsTypes.h"
#include "serial/TRsPersistent.h"

// Flow-control settings of the port; all off by default. A change notifies the owner only
// when the value really changes (the owner then applies the line settings).
class TRsFlowControl : public TRsPersistent {
public:
    bool OutCtsFlow() const { return outCtsFlow_; }
    void SetOutCtsFlow(bool value) { Store(outCtsFlow_, value, false); }
    bool OutDsrFlow() const { return outDsrFlow_; }
    void SetOutDsrFlow(bool value) { Store(outDsrFlow_, value, false); }
    TRsControlDtr ControlDtr() const { return controlDtr_; }
    void SetControlDtr(TRsControlDtr value) { Store(controlDtr_, value, false); }
    TRsControlRts ControlRts() const { return controlRts_; }
    void SetControlRts(TRsControlRts value) { Store(controlRts_, value, false); }
    bool XonXoffOut() const { return xonXoffOut_; }
    void SetXonXoffOut(bool value) { Store(xonXoffOut_, value, false); }
    bool XonXoffIn() const { return xonXoffIn_; }
    void SetXonXoffIn(bool value) { Store(xonXoffIn_, value, false); }
    bool DsrSensitivity() const { return dsrSensitivity_; }
    void SetDsrSensitivity(bool value) { Store(dsrSensitivity_, value, false); }
    bool TxContinueOnXoff() const { return txContinueOnXoff_; }
    void SetTxContinueOnXoff(bool value) { Store(txContinueOnXoff_, value, false); }

    void Assign(const TRsFlowControl& from) { AssignAll(*this, from); }

private:
    friend class TRsPersistent;
    void CopyFields(const TRsFlowControl& from);

    bool outCtsFlow_ = false;
    bool outDsrFlow_ = false;
    TRsControlDtr controlDtr_ = dtrDisabled;
    TRsControlRts controlRts_ = rtsDisabled;
    bool xonXoffOut_ = false;
    bool xonXoffIn_ = false;
    bool dsrSensitivity_ = false;
    bool txContinueOnXoff_ = false;
};
