#pragma once

#include <QDateTime>

// The part of the desktop that the recorder session uses: handling events while it waits,
// blocking sleeps and the clock, as Qt Core gives them, so that a front end without a window
// uses it as it is. The window's Desktop adds what talks to the person (boxes, the beep, file
// dialogs); tests may replace the clock or shorten the sleeps.
class SessionDesktop {
public:
    virtual ~SessionDesktop() = default;

    // Blocks the calling thread without handling any event.
    virtual void Sleep(int milliseconds);
    // Handles every event pending now, then returns.
    virtual void ProcessMessages();
    // Handles pending events; when there are none, sleeps until one comes and handles it.
    virtual void WaitForEvents();
    virtual QDateTime Now();
};
