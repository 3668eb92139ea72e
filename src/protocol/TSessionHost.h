#pragma once

#include "protocol/SessionReports.h"

enum class RecordFault;

// The recorder session's narrow way to the person: what it must tell them. What changed
// (state, answers, progress) goes out as the session's signals instead.
class TSessionHost {
public:
    // Tells the person and returns when they have seen it (the window: a modal box).
    virtual void Report(TSessionReport report) = 0;
    // The configuration cannot be sent as it is (RecordFaultMessage says why).
    virtual void ReportRecordFault(RecordFault fault) = 0;

protected:
    ~TSessionHost() = default;
};
