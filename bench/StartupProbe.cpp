#include "StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace {
// How long the program runs on after its window is shown, so that work it defers to the
// event loop counts in its peak memory.
constexpr std::chrono::milliseconds Linger{500};
} // namespace

QObject* StartupProbePlugin::create(const QString& key, const QString&) {
    if (key.compare(QLatin1StringView("tc8startupprobe"), Qt::CaseInsensitive) != 0)
        return nullptr;
    return new StartupProbe(); // Qt deletes the plugin objects it created
}

StartupProbe::StartupProbe() {
    QCoreApplication::instance()->installEventFilter(this);
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (!painted_ && event->type() == QEvent::Paint) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->isWindow() && widget->inherits("TMain")) {
            painted_ = true;
            // Runs once the painting under way is done and the frame is flushed.
            QTimer::singleShot(0, this, &StartupProbe::Report);
        }
    }
    return false;
}

void StartupProbe::Report() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf(
        "SHOWN %lld\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
    QTimer::singleShot(Linger, QCoreApplication::instance(), &QCoreApplication::quit);
}
