#pragma once

#include <QApplication>
#include <QColor>
#include <QPalette>

// The colours the window uses to show states.
namespace Colors {
inline const QColor Red(255, 0, 0);
inline const QColor Lime(0, 255, 0);
inline const QColor Gray(128, 128, 128);
inline const QColor Black(0, 0, 0);
// Sync mark of a configuration field that is in step with the recorder.
inline const QColor InStep(255, 255, 153);
// The face colour of buttons, as the current style paints it.
inline QColor BtnFace() {
    return QApplication::palette().color(QPalette::Button);
}
} // namespace Colors
