// The main window's side of the line monitor: opened from the menu at any time, and the
// session's trace on while it is open.
#include "ui/TMain.h"

#include "core/Guarded.h"
#include "monitor/TLineMonitor.h"
#include "protocol/TRecorderSession.h"

#include <QAction>

void TMain::ConnectMonitorHandlers() {
    connect(MonitorLacza1, &QAction::triggered, this, Guarded(this, &TMain::MonitorLacza1Click));
}

void TMain::MonitorLacza1Click() {
    if (LineMonitor == nullptr) {
        LineMonitor = new TLineMonitor(desk(), this);
        // Tied to the session, which the window deletes before its child windows.
        TRecorderSession* session = Session;
        connect(LineMonitor, &TLineMonitor::Closed, session, [session, monitor = LineMonitor] {
            if (session->TraceSink() == monitor)
                session->SetTraceSink(nullptr);
        });
    }
    Session->SetTraceSink(LineMonitor);
    LineMonitor->show();
    LineMonitor->raise();
    LineMonitor->activateWindow();
}
