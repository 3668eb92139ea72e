#include "ui/PortList.h"

#include <QStringList>

namespace {
const QString Separator = QStringLiteral(" · ");

QString Hex4(quint16 value) {
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}
} // namespace

QString PortListDetail(const TPortChoice& choice) {
    if (!choice.Port)
        return QStringLiteral("brak urządzenia");
    QStringList parts{DeviceShortName(choice.Port->Device)};
    if (!choice.Port->Description.isEmpty())
        parts << choice.Port->Description;
    if (!choice.Port->Accessible)
        parts << QStringLiteral("brak dostępu");
    return parts.join(Separator);
}

QString PortToolTip(int number, const TPortChoice& choice) {
    const QString name = QStringLiteral("COM%1").arg(number);
    if (!choice.Port)
        return name + QStringLiteral(": brak urządzenia");
    const TListedPort& port = *choice.Port;
    QStringList lines{name + QStringLiteral(": ") + port.Device};
    if (choice.Source == TPortChoice::TSource::FolderEntry)
        lines << QStringLiteral("Wpis w folderze portów: ") + choice.Path;
    if (!port.Manufacturer.isEmpty())
        lines << QStringLiteral("Producent: ") + port.Manufacturer;
    if (!port.Description.isEmpty())
        lines << QStringLiteral("Produkt: ") + port.Description;
    if (port.VendorId && port.ProductId)
        lines << QStringLiteral("VID:PID: %1:%2").arg(Hex4(*port.VendorId), Hex4(*port.ProductId));
    if (!port.SerialNumber.isEmpty())
        lines << QStringLiteral("Numer seryjny: ") + port.SerialNumber;
    if (!port.Accessible)
        lines << QStringLiteral("Brak dostępu: ten użytkownik nie może otworzyć portu");
    return lines.join(u'\n');
}

void TPortListDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text += QStringLiteral("   ") + index.data(PortDetailRole).toString();
}
