#pragma once

#include <QList>
#include <QPointF>

// The points of a series worth drawing between the x values from and to on a plot `columns`
// pixels wide: in each column its lowest and its highest point (in the order of x), and the
// nearest point on either side outside the range, so the line runs on to the edges. What a
// column shows does not change; a series with few points comes back whole (those in range
// and the two neighbours). Points need not be ordered by x.
QList<QPointF> PointsToDraw(const QList<QPointF>& points, double from, double to, int columns);
