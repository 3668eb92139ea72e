#include "cli/CliTerminal.h"

#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr int BarWidth = 30;
// Plain progress lines come at these steps, so that a log holds a few lines, not thousands.
constexpr int PlainStepPercent = 10;

// False when the bytes did not all get out (a full disk behind a redirection, a closed
// stream).
bool Write(FILE* stream, const QByteArray& bytes) {
    const size_t written =
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    return std::fflush(stream) == 0 && written == static_cast<size_t>(bytes.size());
}
} // namespace

TCliTerminal::TCliTerminal(bool quiet, bool verbose)
    : quiet_(quiet), verbose_(verbose), errorIsTerminal_(isatty(STDERR_FILENO) == 1) {
}

TCliTerminal::~TCliTerminal() {
    EndProgress();
}

void TCliTerminal::Data(const QString& line) {
    DataBytes((line + u'\n').toUtf8());
}

void TCliTerminal::DataBytes(const QByteArray& bytes) {
    if (!Write(stdout, bytes))
        dataLost_ = true;
}

void TCliTerminal::Say(const QString& line) {
    // A line said while the bar is up takes its place; the bar comes back with its next step.
    if (barShown_) {
        Write(stderr, "\r\033[K");
        barShown_ = false;
        progressPercent_ = -1;
    }
    Write(stderr, (line + u'\n').toUtf8());
}

void TCliTerminal::Error(const QString& line) {
    Say(line);
}

void TCliTerminal::Message(const QString& line) {
    if (!quiet_)
        Say(line);
}

void TCliTerminal::Step(const QString& line) {
    if (verbose_ && !quiet_)
        Say(line);
}

void TCliTerminal::Progress(const QString& caption, int position, int maximum) {
    if (quiet_ || maximum <= 0)
        return;
    const int percent = std::clamp(position * 100 / maximum, 0, 100);
    if (errorIsTerminal_) {
        if (percent == progressPercent_ && caption == progressCaption_ && barShown_)
            return;
        const int filled = percent * BarWidth / 100;
        const QString bar = QString(filled, u'#') + QString(BarWidth - filled, u'.');
        Write(stderr,
              QStringLiteral("\r\033[K%1 [%2] %3%").arg(caption, bar).arg(percent).toUtf8());
        barShown_ = true;
    } else if (verbose_) {
        const int step = percent / PlainStepPercent;
        if (caption == progressCaption_ && step == progressPercent_ / PlainStepPercent &&
            progressPercent_ >= 0)
            return;
        Write(stderr, QStringLiteral("%1: %2%\n").arg(caption).arg(percent).toUtf8());
    }
    progressCaption_ = caption;
    progressPercent_ = percent;
}

void TCliTerminal::EndProgress() {
    if (barShown_)
        Write(stderr, "\n");
    barShown_ = false;
    progressPercent_ = -1;
    progressCaption_.clear();
}

bool TCliTerminal::CanAsk() const {
    return isatty(STDIN_FILENO) == 1 && errorIsTerminal_;
}

bool TCliTerminal::Ask(const QString& question, int interrupt) {
    EndProgress();
    Write(stderr, (question + QStringLiteral(" [t/N] ")).toUtf8());
    QByteArray answer;
    for (char byte = 0; byte != '\n';) {
        pollfd waiting[2] = {{STDIN_FILENO, POLLIN, 0}, {interrupt, POLLIN, 0}};
        if (poll(waiting, interrupt >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (waiting[1].revents != 0) {
            Write(stderr, "\n");
            return false;
        }
        if (read(STDIN_FILENO, &byte, 1) != 1)
            break;
        answer += byte;
    }
    answer = answer.trimmed();
    return answer.startsWith('t') || answer.startsWith('T');
}
