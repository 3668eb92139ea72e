#pragma once

#include "protocol/SessionReports.h"

#include <QString>

enum class RecordFault;

// The recorder session's narrow way to the person: what it must tell them. What changed
// (state, answers, progress) goes out as the session's signals instead.
class TSessionHost {
public:
    // Tells the person and returns when they have seen it (the window: a modal box).
    virtual void Report(TSessionReport report) = 0;
    // The configuration cannot be sent as it is (RecordFaultMessage says why).
    virtual void ReportRecordFault(RecordFault fault) = 0;
    // The archive of downloads cannot keep the download now under way, or kept a corrupt file
    // aside: said once per download, in Polish, while the download goes on.
    virtual void ReportArchiveProblem(const QString& text) = 0;

protected:
    ~TSessionHost() = default;
};
