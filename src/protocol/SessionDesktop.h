#pragma once

#include <QDateTime>

// The part of the desktop that the recorder session uses: handling events while it waits,
// blocking sleeps and the clock. The window's Desktop adds what talks to the person
// (boxes, the beep, file dialogs); a front end without a window uses CoreDesktop.
class SessionDesktop {
public:
    virtual ~SessionDesktop() = default;

    // Blocks the calling thread without handling any event.
    virtual void Sleep(int milliseconds) = 0;
    // Handles every event pending now, then returns.
    virtual void ProcessMessages() = 0;
    // Handles pending events; when there are none, sleeps until one comes and handles it.
    virtual void WaitForEvents() = 0;
    virtual QDateTime Now() = 0;
};

// The session's desktop under a QCoreApplication.
class CoreDesktop : public SessionDesktop {
public:
    void Sleep(int milliseconds) override;
    void ProcessMessages() override;
    void WaitForEvents() override;
    QDateTime Now() override;
};
