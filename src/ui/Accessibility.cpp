#include "ui/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFocusFrame>
#include <QMenu>
#include <QWidget>

namespace {

// Qt lists every child widget, shown or hidden; this lists the shown ones.
class TShownChildrenAccessible : public QAccessibleWidget {
public:
    TShownChildrenAccessible(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    int childCount() const override { return static_cast<int>(Shown().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = Shown();
        if (index < 0 || index >= shown.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(shown[index]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr)
            return -1;
        return static_cast<int>(Shown().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> Shown() const {
        QList<QWidget*> shown;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child != nullptr && !child->isWindow() && !child->isHidden() &&
                qobject_cast<QFocusFrame*>(child) == nullptr &&
                qobject_cast<QMenu*>(child) == nullptr)
                shown << child;
        }
        return shown;
    }
};

// A drop-down list heard by its name (by its choice while it has none), its choice as the
// value; pressing it opens the list.
class TNamedComboAccessible : public QAccessibleWidget {
public:
    explicit TNamedComboAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value ||
            (kind == QAccessible::Name && box()->accessibleName().isEmpty()))
            return box()->currentText();
        return QAccessibleWidget::text(kind);
    }

    int childCount() const override { return 1; }

    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == box()->view() ? 0 : -1;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction())
            box()->showPopup();
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

// The program's own containers have design names; Qt's inner widgets are left to Qt.
QAccessibleInterface* ProgramFactory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || widget->objectName().isEmpty() ||
        widget->objectName().startsWith(QLatin1String("qt_")))
        return nullptr;
    if (className == QLatin1String("TComboBox"))
        return new TNamedComboAccessible(static_cast<QComboBox*>(widget));
    if (className == QLatin1String("QFrame"))
        return new TShownChildrenAccessible(widget, widget->accessibleName().isEmpty()
                                                        ? QAccessible::Border
                                                        : QAccessible::Grouping);
    if (className == QLatin1String("QWidget"))
        return new TShownChildrenAccessible(widget, QAccessible::Client);
    return nullptr;
}

} // namespace

void InstallAccessibility() {
    static const bool installed = (QAccessible::installFactory(ProgramFactory), true);
    Q_UNUSED(installed);
}
