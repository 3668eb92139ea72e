#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Calls OnChange whenever one of the watched widgets is shown or hidden.
class VisibilityWatcher : public QObject {
    Q_OBJECT
public:
    VisibilityWatcher(std::function<void()> onChange, QObject* parent);
    void Watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> onChange_;
};
