#include "operations/HistoryFile.h"

#include "config/WholeFile.h"
#include "operations/HistoryReadings.h"
#include "protocol/AnsiCodec.h"

#include <QFile>

QByteArray HistoryFileBytes(const QString& plainText, HistoryTextEnd end) {
    QString text = plainText;
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    if (end == HistoryTextEnd::LineOfDownload)
        text.append(QStringLiteral("\r\n"));
    return ToAnsi(text);
}

QString HistoryTextOfFile(const QByteArray& bytes) {
    QString text = FromAnsi(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

OpenedHistoryFile OpenHistoryFile(const QString& path) {
    OpenedHistoryFile opened;
    const QString unreadable = QStringLiteral("Błąd odczytu pliku");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        opened.Problem = unreadable;
        opened.Detail = FileReadProblem(file);
        return opened;
    }
    // Reads one byte past the limit instead of trusting the size the file has now.
    const QByteArray bytes = file.read(HistoryFileLimit + 1);
    if (bytes.size() > HistoryFileLimit) {
        opened.Problem = QStringLiteral("Plik jest za duży na plik historii (ponad 10 MB)");
        return opened;
    }
    if (file.error() != QFileDevice::NoError) {
        opened.Problem = unreadable;
        opened.Detail = FileReadProblem(file);
        return opened;
    }
    opened.Text = HistoryTextOfFile(bytes);
    opened.EndsWithLineEnd = bytes.endsWith('\n');
    if (ParseHistory(opened.Text).Readings.empty()) {
        opened.Problem = QStringLiteral("To nie jest plik historii TC-8: żadna linia nie jest "
                                        "odczytem temperatury");
        opened.Text.clear();
    }
    return opened;
}
