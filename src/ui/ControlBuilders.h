#pragma once

#include <QString>
#include <Qt>

class QLabel;
class QPushButton;
class QRect;
class QWidget;

// The small steps every window of the program builds its controls with.

// Gives a control its design name, which is for the code: a person hears what the control
// shows (a label's text, a caption) or the name that setAccessibleName gives it.
template <class Widget> Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// The name a person hears for a field: the text of the label beside it without its
// trailing colon. The label becomes the field's buddy.
void labelField(QLabel* label, QWidget* field);

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& place);

// A push button heard by its caption. It never becomes the default button by taking the
// focus: Enter in a field does only what the field's own handler does.
QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption,
                       const QRect& place, bool enabled = true, const QString& hint = {});

// The program's dialogs: a title bar with a close box, no resizing.
Qt::WindowFlags FixedDialogFlags();
