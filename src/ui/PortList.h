#pragma once

#include "protocol/PortDirectory.h"

#include <QString>
#include <QStyledItemDelegate>

// How the port list presents what each number stands for.

// The item's tool tip: the device path, maker, product, vendor and product id and serial
// number where known.
QString PortToolTip(int number, const TPortChoice& choice);

// The item role that holds PortListDetail.
constexpr int PortDetailRole = Qt::UserRole + 1;

// Draws each item of the opened list as its number followed by its detail; the closed box
// keeps showing the number alone.
class TPortListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the details begin, from the left of an item.
    static int DetailColumn(const QFontMetrics& metrics);
};
