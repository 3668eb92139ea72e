#pragma once

#include <QFont>

// The windows' font: a plain sans serif at 11 pixels, the height of the classic 8-point
// dialog font at 96 dpi, so that the fixed layouts keep their proportions.
QFont WindowFont(int pixelSize = 11);
