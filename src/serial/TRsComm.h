#pragma once

#include "serial/TRsCustomComm.h"

// The published serial-port component: TRsCustomComm with its properties made public.
// The main window owns one instance, RsComm.
class TRsComm : public TRsCustomComm {
    Q_OBJECT
public:
    using TRsCustomComm::TRsCustomComm;
};
