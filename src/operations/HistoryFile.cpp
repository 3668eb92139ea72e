#include "operations/HistoryFile.h"

#include "protocol/AnsiCodec.h"

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
