#include "ui/PortList.h"

#include <QPainter>
#include <QStringList>

namespace {
QString Hex4(quint16 value) {
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}
} // namespace

QString PortToolTip(int number, const TPortChoice& choice) {
    const QString name = QStringLiteral("COM%1").arg(number);
    if (!choice.Port)
        return name + QStringLiteral(": brak urządzenia");
    const TListedPort& port = *choice.Port;
    QStringList lines{name + QStringLiteral(": ") + port.Device};
    if (!port.Present)
        lines.front() += QStringLiteral(" (brak urządzenia)");
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

void TPortListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    // The details start in one column, after the widest number.
    const int column = DetailColumn(option.fontMetrics);
    const QRect area = option.rect.adjusted(column, 0, 0, 0);
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(
        option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                      index.data(PortDetailRole).toString());
    painter->restore();
}

QSize TPortListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(DetailColumn(option.fontMetrics) +
                  option.fontMetrics.horizontalAdvance(index.data(PortDetailRole).toString()) +
                  option.fontMetrics.averageCharWidth());
    return size;
}

int TPortListDelegate::DetailColumn(const QFontMetrics& metrics) {
    return metrics.horizontalAdvance(QStringLiteral("COM8")) + 3 * metrics.averageCharWidth();
}
