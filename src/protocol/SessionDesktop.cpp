#include "protocol/SessionDesktop.h"

#include <QCoreApplication>
#include <QThread>

void CoreDesktop::Sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void CoreDesktop::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void CoreDesktop::WaitForEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

QDateTime CoreDesktop::Now() {
    return QDateTime::currentDateTime();
}
