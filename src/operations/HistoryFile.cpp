#include "operations/HistoryFile.h"

#include "protocol/AnsiCodec.h"

QByteArray HistoryFileBytes(const QString& plainText) {
    if (plainText.isEmpty())
        return {};
    QString text = plainText;
    if (!text.endsWith(u'\n'))
        text.append(u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return ToAnsi(text);
}

QString HistoryTextOfFile(const QByteArray& bytes) {
    QString text = FromAnsi(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}
