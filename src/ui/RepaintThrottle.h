#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <chrono>

class QTimer;
class QWidget;

// Holds back the painting of a widget that changes faster than anyone can read, such as a
// text box filling with a downloaded history: a change is painted at once when the widget
// was last painted at least `interval` ago, otherwise together with the changes that follow,
// once the interval is over. The widget's content is always current; only the screen lags,
// by at most the interval.
class RepaintThrottle : public QObject {
    Q_OBJECT
public:
    RepaintThrottle(QWidget* widget, std::chrono::milliseconds interval);

    // Call before each change of the widget.
    void BeforeChange();

private:
    void Release();

    QWidget* const widget_;
    const std::chrono::milliseconds interval_;
    QElapsedTimer sinceShown_;
    QTimer* const release_;
};
