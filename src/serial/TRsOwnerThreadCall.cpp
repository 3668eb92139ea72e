#include "serial/TRsOwnerThreadCall.h"

#include <QMetaMethod>

namespace {

// Looked up once: a lookup by name on every post parses the signature each time.
QMetaMethod RunMethod() {
    static const QMetaMethod run = TRsOwnerThreadCall::staticMetaObject.method(
        TRsOwnerThreadCall::staticMetaObject.indexOfSlot("Run()"));
    return run;
}

} // namespace

TRsOwnerThreadCall::TRsOwnerThreadCall(std::function<void()> action, QObject* parent)
    : QObject(parent), action_(std::move(action)) {
}

void TRsOwnerThreadCall::Post() {
    // Through the meta-method: the queued call is then built inside Qt and holds nothing of
    // this thread's.
    RunMethod().invoke(this, Qt::QueuedConnection);
}

void TRsOwnerThreadCall::Run() {
    action_();
}
