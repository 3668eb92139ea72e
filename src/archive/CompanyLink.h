#pragma once

#include "archive/DownloadArchive.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QThread;

// The company archive worked on apart from the thread that asks (the window's, which also
// runs the line): each step runs on a thread of the link's own, in the order asked, and its
// result comes back as a signal on the asking thread. A server that is slow or out of reach
// holds up only that thread.
class TCompanyLink : public QObject {
    Q_OBJECT
public:
    // `target` is the company archive's address, `localArchive` the path of this PC's archive
    // that pushes send from.
    TCompanyLink(QString target, QString localArchive, QObject* parent = nullptr);
    // Waits for the step under way only (a push stops after the download it is sending); the
    // steps asked for after it are dropped.
    ~TCompanyLink() override;

    const QString& Target() const { return target_; }

    // Sends what the local archive has not sent there. Asked again while sending, it sends
    // once more afterwards, whatever the first one met (the download that asked may have
    // come too late for it), and tells the end of both once.
    void Push();
    bool Pushing() const { return pushing_; }
    // How the last push ended: when, how many downloads it stored, and why it stopped
    // (empty when it did not); nothing before the first has ended.
    struct PushOutcome {
        QDateTime At;
        int Stored = 0;
        QString Problem;
    };
    const std::optional<PushOutcome>& LastPush() const { return lastPush_; }
    // The clock the outcome's time is read from (the desktop's, in the window).
    void SetClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    // Lists the company's downloads: all of them, and those the filter asks for.
    void Browse(const TArchiveFilter& filter);
    // Reads the history lines of downloads (merged when several).
    void ReadLines(const QList<TDownloadSummary>& downloads);

signals:
    void PushProgress(int done, int total);
    // A push ended: how many downloads it stored, or why it stopped (empty when it did not).
    void PushFinished(int stored, const QString& problem);
    void Browsed(const QList<TDownloadSummary>& all, const QList<TDownloadSummary>& shown,
                 const QString& problem);
    // No lines when they could not be read; `problem` says why.
    void LinesRead(const QList<TDownloadSummary>& downloads,
                   const std::optional<QStringList>& lines, const QString& problem);

    // The wake-ups of the two threads; what they carry waits in the queues below.
    void JobsQueued(QPrivateSignal);
    void ResultsQueued(QPrivateSignal);

private:
    struct Worker;
    using Job = std::function<void(Worker&)>;
    // Runs `work` on the link's thread with its worker, after what was posted before.
    void Post(Job work);
    // From the link's thread: runs `result` on the asking thread.
    void Deliver(std::function<void()> result);
    void RunJobs();
    void RunResults();
    void StartPush();

    const QString target_;
    const QString localArchive_;
    QThread* thread_ = nullptr;
    QObject* context_ = nullptr;     // lives on thread_: what posted work runs in
    std::unique_ptr<Worker> worker_; // touched only on thread_
    // The steps and their results cross between the threads here, under a lock of the
    // program's own rather than only inside Qt's event queue.
    std::mutex queues_;
    std::deque<Job> jobs_;
    std::deque<std::function<void()>> results_;
    std::atomic<bool> stopping_ = false;
    bool pushing_ = false;
    std::optional<PushOutcome> lastPush_;
    std::function<QDateTime()> clock_ = [] { return QDateTime::currentDateTime(); };
    bool pushAgain_ = false;
};
