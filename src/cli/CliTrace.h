#pragma once

#include "monitor/LineTrace.h"

#include <QFile>
#include <QString>

// tc8-cli --trace: every entry of the line trace as a line of text (UTF-8), the form the
// line monitor saves, into a file or ("-") onto standard error.
class TCliTraceFile : public TLineTraceSink {
public:
    explicit TCliTraceFile(const QString& path);
    bool IsOpen() const { return file_.isOpen(); }
    void Traced(TTraceEntry entry) override;

private:
    QFile file_;
};
