#include "serial/TRsOwnerThreadCall.h"

#include <QCoreApplication>
#include <QEvent>

namespace {
// One type for every port: the event carries nothing, the receiver knows what to run.
const QEvent::Type RunEventType = static_cast<QEvent::Type>(QEvent::registerEventType());
} // namespace

TRsOwnerThreadCall::TRsOwnerThreadCall(std::function<void()> action, QObject* parent)
    : QObject(parent), action_(std::move(action)) {
}

void TRsOwnerThreadCall::Post() {
    // A plain event, allocated here and owned by Qt's queue from then on: cheaper than a
    // queued method call, which looks the method up and packs its arguments.
    QCoreApplication::postEvent(this, new QEvent(RunEventType));
}

bool TRsOwnerThreadCall::event(QEvent* event) {
    if (event->type() != RunEventType)
        return QObject::event(event);
    action_();
    return true;
}
