#include "ui/VisibilityWatcher.h"

#include <QEvent>
#include <QWidget>

VisibilityWatcher::VisibilityWatcher(std::function<void()> onChange, QObject* parent)
    : QObject(parent), onChange_(std::move(onChange)) {
}

void VisibilityWatcher::Watch(QWidget* widget) {
    widget->installEventFilter(this);
}

bool VisibilityWatcher::eventFilter(QObject* watched, QEvent* event) {
    // ShowToParent and HideToParent come with show() and hide() also while the window
    // itself is not on screen.
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        onChange_();
    return QObject::eventFilter(watched, event);
}
