#pragma once

#include <QWidget>

class QToolButton;

// Two stacked arrow buttons. A click on a half steps once; held down with the mouse it
// repeats after 400 ms and then every 100 ms. Takes no keyboard focus: the field it steps
// does, and there Up and Down step once, Page Up and Page Down ten times.
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* parent = nullptr);

    // The keys of field step this button as its halves do.
    void StepWithKeysOf(QWidget* field);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    void UpClick();
    void DownClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};
