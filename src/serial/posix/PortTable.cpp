#include "serial/PortTable.h"

#include <QRegularExpression>
#include <algorithm>
#include <tuple>

namespace {

// On-board UARTs first (COM1 and COM2 are the board's own on the PCs technicians know),
// then USB adapters, then the rest (ACM modems and others).
// Adapters without a stable name follow the named ones, by their number.
std::tuple<int, qint64, QString> OrderKey(const TListedPort& port) {
    static const QRegularExpression uart(QStringLiteral("^ttyS([0-9]+)$"));
    static const QRegularExpression adapter(QStringLiteral("^ttyUSB([0-9]+)$"));
    const QString name = DeviceShortName(port.Device);
    if (const QRegularExpressionMatch match = uart.match(name); match.hasMatch())
        return {0, match.captured(1).toLongLong(), {}};
    if (const QRegularExpressionMatch match = adapter.match(name); match.hasMatch()) {
        if (!port.StableName.isEmpty())
            return {1, 0, port.StableName};
        return {2, match.captured(1).toLongLong(), {}};
    }
    return {3, 0, port.Device};
}

} // namespace

QString DeviceShortName(const QString& device) {
    // Outside /dev only the whole path says what it is.
    if (!device.startsWith(QStringLiteral("/dev/")))
        return device;
    QString name = device.mid(device.lastIndexOf(u'/') + 1);
    // A pseudo-terminal's slave has a number only; its folder says what it is.
    if (device.startsWith(QStringLiteral("/dev/pts/")))
        name.prepend(QStringLiteral("pts/"));
    return name;
}

TPortTable BuildPortTable(const QList<TFolderEntry>& entries, QList<TListedPort> listed) {
    TPortTable table;
    QList<QString> taken;
    for (const TFolderEntry& entry : entries) {
        if (entry.Number < 1 || entry.Number > PortCount)
            continue;
        TPortChoice& choice = table[entry.Number - 1];
        choice.Source = TPortChoice::TSource::FolderEntry;
        choice.Path = entry.EntryPath;
        const auto behind = std::find_if(listed.cbegin(), listed.cend(), [&](const auto& port) {
            return port.Device == entry.Target;
        });
        if (behind != listed.cend()) {
            choice.Port = *behind;
        } else {
            choice.Port = TListedPort{};
            choice.Port->Device = entry.Target;
        }
        choice.Port->Accessible = entry.Accessible;
        choice.Port->Present = entry.Present;
        taken << entry.Target;
    }

    std::stable_sort(listed.begin(), listed.end(),
                     [](const auto& a, const auto& b) { return OrderKey(a) < OrderKey(b); });
    auto next = listed.cbegin();
    for (TPortChoice& choice : table) {
        if (choice.Source != TPortChoice::TSource::Nothing)
            continue;
        while (next != listed.cend() && taken.contains(next->Device))
            ++next;
        if (next == listed.cend())
            break;
        choice.Source = TPortChoice::TSource::Listed;
        choice.Path = next->Device;
        choice.Port = *next;
        ++next;
    }
    return table;
}
