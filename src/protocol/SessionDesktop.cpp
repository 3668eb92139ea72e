#include "protocol/SessionDesktop.h"

#include <QCoreApplication>
#include <QThread>

void SessionDesktop::Sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void SessionDesktop::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void SessionDesktop::WaitForEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

QDateTime SessionDesktop::Now() {
    return QDateTime::currentDateTime();
}
