#include "serial/TRsOwnerThreadCall.h"

TRsOwnerThreadCall::TRsOwnerThreadCall(std::function<void()> action, QObject* parent)
    : QObject(parent), action_(std::move(action)) {
}

void TRsOwnerThreadCall::Post() {
    // By name: the queued call is then built inside Qt and holds nothing of this thread's.
    QMetaObject::invokeMethod(this, "Run", Qt::QueuedConnection);
}

void TRsOwnerThreadCall::Run() {
    action_();
}
