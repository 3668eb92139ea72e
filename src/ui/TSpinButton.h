#pragma once

#include <QWidget>

class QToolButton;

// Two stacked arrow buttons. A click on a half steps once; held down with the mouse it
// repeats after 400 ms and then every 100 ms. Takes no keyboard focus.
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* parent = nullptr);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    void UpClick();
    void DownClick();

private:
    QToolButton* up_;
    QToolButton* down_;
};
