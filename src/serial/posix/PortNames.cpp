#include "serial/PortNames.h"

#include "core/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <sys/stat.h>

QString FormatDeviceName(const QString& format, int number) {
    QString name;
    bool numberPlaced = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        const QChar next = i + 1 < format.size() ? format[i + 1] : QChar();
        if (c == QLatin1Char('%') && next == QLatin1Char('%')) {
            name += c;
            ++i;
        } else if (c == QLatin1Char('%') && next == QLatin1Char('d') && !numberPlaced) {
            name += QString::number(number);
            numberPlaced = true;
            ++i;
        } else {
            name += c;
        }
    }
    return name;
}

QString PortsFolder() {
    return ProgramDataFolder() + QStringLiteral("/ports");
}

QString ResolvePortPath(const QString& name, const QString& portsFolder) {
    if (QDir::isAbsolutePath(name))
        return name;
    if (!portsFolder.isEmpty()) {
        // lstat: a link that leads nowhere still names the port the user meant.
        const QString entry = portsFolder + QLatin1Char('/') + name;
        struct stat status {};
        if (lstat(QFile::encodeName(entry).constData(), &status) == 0)
            return entry;
    }
    static const QRegularExpression comPort(QStringLiteral("^COM([1-9][0-9]{0,8})$"));
    const QRegularExpressionMatch match = comPort.match(name);
    if (match.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(match.captured(1).toInt() - 1);
    return QStringLiteral("/dev/") + name;
}
