#pragma once

// Checks of fixed-position layouts: every text fits its control with the fonts and style
// in use, and controls neither overlap nor stick out of their containers.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <string>

namespace layout_checks {

inline QString describe(const QWidget& widget, const QString& text) {
    return widget.objectName() + QStringLiteral(" \"") + text + QStringLiteral("\"");
}

inline bool fits(const QWidget& widget, const QString& text, const QRect& area, int extra = 0) {
    const QFontMetrics metrics = widget.fontMetrics();
    return metrics.horizontalAdvance(text) + extra <= area.width() &&
           metrics.height() <= area.height();
}

inline QRect buttonTextArea(const QAbstractButton& button) {
    QStyle* style = button.style();
    if (const auto* push = qobject_cast<const QPushButton*>(&button)) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        if (push->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        return style->subElementRect(QStyle::SE_PushButtonContents, &option, push);
    }
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const auto element = qobject_cast<const QRadioButton*>(&button) ? QStyle::SE_RadioButtonContents
                                                                    : QStyle::SE_CheckBoxContents;
    return style->subElementRect(element, &option, &button);
}

inline QRect lineEditTextArea(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    // QLineEdit keeps two pixels free on either side and one above and below the text.
    return edit.style()
        ->subElementRect(QStyle::SE_LineEditContents, &option, &edit)
        .marginsRemoved(edit.textMargins())
        .adjusted(2, 1, -2, -1);
}

inline QRect comboTextArea(const QComboBox& combo) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    return combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                         &combo);
}

inline QStyleOptionGroupBox groupBoxOption(const QGroupBox& group) {
    QStyleOptionGroupBox option;
    option.initFrom(&group);
    option.text = group.title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = group.alignment();
    option.lineWidth = 1;
    return option;
}

} // namespace layout_checks

// The texts under the window (labels, buttons, group titles, field and list texts, gauge
// percentages) that their controls cannot show whole; empty when everything fits.
inline QStringList ClippedTexts(const QWidget& window) {
    using namespace layout_checks;
    QStringList clipped;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            if (!label->text().isEmpty() && !fits(*label, label->text(), label->contentsRect()))
                clipped << describe(*label, label->text());
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            if (!button->text().isEmpty() &&
                !fits(*button, button->text(), buttonTextArea(*button)))
                clipped << describe(*button, button->text());
        } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
            const auto option = groupBoxOption(*group);
            const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                               QStyle::SC_GroupBoxLabel, group);
            if (!group->rect().contains(title) || !fits(*group, group->title(), title))
                clipped << describe(*group, group->title());
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            if (!edit->text().isEmpty() && !fits(*edit, edit->text(), lineEditTextArea(*edit), 1))
                clipped << describe(*edit, edit->text());
        } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                if (!fits(*combo, combo->itemText(i), comboTextArea(*combo)))
                    clipped << describe(*combo, combo->itemText(i));
        } else if (const auto* bar = qobject_cast<const QProgressBar*>(widget)) {
            if (bar->isTextVisible() && !fits(*bar, QStringLiteral("100%"), bar->rect()))
                clipped << describe(*bar, QStringLiteral("100%"));
        }
    }
    return clipped;
}

// Controls that overlap a sibling or reach outside their container's inner area (a group
// box's area below its title); empty when the layout is clean. Only containers that place
// their children by hand are looked at (panels, group boxes, plain widgets and the dialog
// itself). A hidden control still may not overlap a shown one, since it is shown later in
// its place; it may lie outside its container (the window grows when it is shown).
inline QStringList MisplacedControls(const QWidget& window) {
    using namespace layout_checks;
    QStringList misplaced;
    QList<const QWidget*> containers{&window};
    for (const QWidget* widget : window.findChildren<QWidget*>())
        containers << widget;
    for (const QWidget* container : containers) {
        const QMetaObject* kind = container->metaObject();
        const bool placesByHand = container == &window || kind == &QFrame::staticMetaObject ||
                                  kind == &QGroupBox::staticMetaObject ||
                                  kind == &QWidget::staticMetaObject;
        if (!placesByHand || container->layout() != nullptr)
            continue;
        QRect inner = container->contentsRect();
        if (const auto* group = qobject_cast<const QGroupBox*>(container)) {
            const auto option = groupBoxOption(*group);
            const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                               QStyle::SC_GroupBoxLabel, group);
            inner = group->rect().adjusted(1, title.bottom() + 1, -1, -1);
        }
        QList<const QWidget*> children;
        for (const QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isWindow())
                children << child;
        for (int i = 0; i < children.size(); ++i) {
            const QWidget& child = *children[i];
            if (!child.isHidden() && !inner.contains(child.geometry()))
                misplaced << child.objectName() + QStringLiteral(" outside ") +
                                 container->objectName();
            for (int j = i + 1; j < children.size(); ++j) {
                const QWidget& other = *children[j];
                if (child.isHidden() && other.isHidden())
                    continue;
                if (child.geometry().intersects(other.geometry()))
                    misplaced << child.objectName() + QStringLiteral(" overlaps ") +
                                     other.objectName();
            }
        }
    }
    return misplaced;
}

// The list as one readable line for test messages.
inline std::string Listed(const QStringList& items) {
    return items.join(QStringLiteral("; ")).toStdString();
}
