#include "ui/ControlBuilders.h"

#include <QLabel>
#include <QPushButton>

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& place) {
    auto* label = named(new QLabel(text, parent), name);
    label->setGeometry(place);
    return label;
}

QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption,
                       const QRect& place, bool enabled, const QString& hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setGeometry(place);
    button->setEnabled(enabled);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

void labelField(QLabel* label, QWidget* field) {
    label->setBuddy(field);
    QString text = label->text();
    while (!text.isEmpty() && (text.back().isSpace() || text.back() == u':'))
        text.chop(1);
    field->setAccessibleName(text.trimmed());
}

Qt::WindowFlags FixedDialogFlags() {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}
