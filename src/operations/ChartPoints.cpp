#include "operations/ChartPoints.h"

#include <algorithm>
#include <optional>
#include <vector>

QList<QPointF> PointsToDraw(const QList<QPointF>& points, double from, double to, int columns) {
    columns = std::max(columns, 1);
    struct Column {
        std::optional<QPointF> Lowest;
        std::optional<QPointF> Highest;
    };
    std::vector<Column> shown(static_cast<size_t>(columns));
    std::optional<QPointF> before;
    std::optional<QPointF> after;
    qsizetype inRange = 0;
    const double width = to > from ? to - from : 1.0;
    for (const QPointF& point : points) {
        if (point.x() < from) {
            if (!before || point.x() > before->x())
                before = point;
            continue;
        }
        if (point.x() > to) {
            if (!after || point.x() < after->x())
                after = point;
            continue;
        }
        ++inRange;
        const auto index = std::min(static_cast<size_t>((point.x() - from) / width * columns),
                                    static_cast<size_t>(columns - 1));
        Column& column = shown[index];
        if (!column.Lowest || point.y() < column.Lowest->y())
            column.Lowest = point;
        if (!column.Highest || point.y() > column.Highest->y())
            column.Highest = point;
    }

    QList<QPointF> drawn;
    if (before)
        drawn.append(*before);
    if (inRange <= 2 * columns) {
        for (const QPointF& point : points)
            if (point.x() >= from && point.x() <= to)
                drawn.append(point);
    } else {
        for (const Column& column : shown) {
            if (!column.Lowest)
                continue;
            const bool lowFirst = column.Lowest->x() <= column.Highest->x();
            drawn.append(lowFirst ? *column.Lowest : *column.Highest);
            if (*column.Lowest != *column.Highest)
                drawn.append(lowFirst ? *column.Highest : *column.Lowest);
        }
    }
    if (after)
        drawn.append(*after);
    return drawn;
}
