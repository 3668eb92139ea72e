#pragma once

#include <QString>
#include <Qt>

class QLabel;
class QPushButton;
class QRect;
class QWidget;

// The small steps every window of the program builds its controls with.

// Gives a control its design name, which screen readers hear too.
template <class Widget> Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    widget->setAccessibleName(name);
    return widget;
}

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& place);

// A push button heard by its caption. It never becomes the default button by taking the
// focus: Enter in a field does only what the field's own handler does.
QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption,
                       const QRect& place, bool enabled = true, const QString& hint = {});

// The program's dialogs: a title bar with a close box, no resizing.
Qt::WindowFlags FixedDialogFlags();
