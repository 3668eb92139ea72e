#pragma once

#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <chrono>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

// What the test process uses: CPU time of all its threads, and resident memory.

inline double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Resident set size in bytes, from /proc/self/statm.
inline long long ResidentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// CPU time used per second of wall time since it was started (1.0: one core busy).
class CpuShare {
public:
    CpuShare() : cpu_(ProcessCpuSeconds()), wall_(std::chrono::steady_clock::now()) {}
    double Share() const {
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wall_;
        return (ProcessCpuSeconds() - cpu_) / wall.count();
    }

private:
    double cpu_;
    std::chrono::steady_clock::time_point wall_;
};

// Handles events, sleeping in between, until the condition holds (checked every 20 ms) or
// the deadline passes; true when it held. Unlike WaitFor it does not poll the event queue,
// so what the process spends meanwhile is the program's own.
inline bool WaitQuietlyFor(const std::function<bool()>& condition, int timeoutMs = 30000) {
    if (condition())
        return true;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (condition())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    check.start(20);
    loop.exec();
    return condition();
}

// Handles events for the given time, sleeping in between: a span to measure, not a way to
// wait for something.
inline void IdleFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
