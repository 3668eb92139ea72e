#include "cli/CliTrace.h"

#include <unistd.h>

TCliTraceFile::TCliTraceFile(const QString& path) {
    if (path == u'-') {
        file_.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
                   QFileDevice::DontCloseHandle);
        return;
    }
    file_.setFileName(path);
    file_.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void TCliTraceFile::Traced(TTraceEntry entry) {
    file_.write(TraceLine(entry).toUtf8() + '\n');
}
