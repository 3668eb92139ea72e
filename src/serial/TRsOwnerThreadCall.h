#pragma once

#include <QObject>
#include <functional>

// Runs an action on the thread this object lives on (the component's owner thread) when
// any thread posts it. The background threads post to this small object rather than to the
// component, so a post never races with the component's own destruction; the action is fixed
// at construction, so a queued run carries no data from the posting thread.
class TRsOwnerThreadCall final : public QObject {
    Q_OBJECT
public:
    TRsOwnerThreadCall(std::function<void()> action, QObject* parent);

    // Any thread: queues one run of the action.
    void Post();

private slots:
    void Run();

private:
    const std::function<void()> action_;
};
