#include "archive/CompanyLink.h"

#include "archive/CompanyArchive.h"
#include "archive/HistoryArchive.h"

#include <QThread>

// What lives on the link's thread: the connections, which Qt SQL ties to the thread that
// made them, kept from one step to the next.
struct TCompanyLink::Worker {
    Worker(const QString& target, const QString& localArchive)
        : Target(target), Local(localArchive) {}
    TCompanyArchive& Company() {
        if (!company)
            company = std::make_unique<TCompanyArchive>(Target);
        return *company;
    }
    bool Open() { return !Company().Id().isNull() || Company().Open(); }
    // What went wrong, if anything; a connection that failed is made anew for the next step,
    // since the server or the network may be back by then.
    QString EndStep() {
        QString problem = Company().Problem();
        if (!problem.isEmpty())
            company.reset();
        return problem;
    }
    const QString Target;
    std::unique_ptr<TCompanyArchive> company;
    THistoryArchive Local;
};

TCompanyLink::TCompanyLink(QString target, QString localArchive, QObject* parent)
    : QObject(parent), target_(std::move(target)), localArchive_(std::move(localArchive)),
      thread_(new QThread), context_(new QObject) {
    thread_->setObjectName(QStringLiteral("tc8-company"));
    context_->moveToThread(thread_);
    connect(
        this, &TCompanyLink::JobsQueued, context_, [this] { RunJobs(); }, Qt::QueuedConnection);
    connect(this, &TCompanyLink::ResultsQueued, this, &TCompanyLink::RunResults,
            Qt::QueuedConnection);
    thread_->start();
}

TCompanyLink::~TCompanyLink() {
    stopping_ = true;
    {
        // Steps not begun are dropped: nobody is left to hear their results, and each could
        // wait for a server that does not answer.
        const std::lock_guard lock(queues_);
        jobs_.clear();
    }
    // The connections close on the thread that made them, after the step under way.
    Post([this](Worker&) {
        worker_.reset();
        // Taken after the worker is gone and again below: the end of the thread is then
        // ordered before this object's end by a lock of the program's own.
        const std::lock_guard lock(queues_);
        QThread::currentThread()->quit();
    });
    thread_->wait();
    const std::lock_guard lock(queues_);
    // Its thread has ended: it may go from here, and nothing of it runs on after.
    delete context_;
    delete thread_;
}

void TCompanyLink::Post(Job work) {
    {
        const std::lock_guard lock(queues_);
        jobs_.push_back(std::move(work));
    }
    emit JobsQueued(QPrivateSignal());
}

void TCompanyLink::RunJobs() {
    for (;;) {
        Job job;
        {
            const std::lock_guard lock(queues_);
            if (jobs_.empty())
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        if (!worker_)
            worker_ = std::make_unique<Worker>(target_, localArchive_);
        job(*worker_);
    }
}

void TCompanyLink::Deliver(std::function<void()> result) {
    {
        const std::lock_guard lock(queues_);
        results_.push_back(std::move(result));
    }
    emit ResultsQueued(QPrivateSignal());
}

void TCompanyLink::RunResults() {
    for (;;) {
        std::function<void()> result;
        {
            const std::lock_guard lock(queues_);
            if (results_.empty())
                return;
            result = std::move(results_.front());
            results_.pop_front();
        }
        result();
    }
}

void TCompanyLink::Push() {
    if (pushing_) {
        pushAgain_ = true;
        return;
    }
    pushing_ = true;
    StartPush();
}

void TCompanyLink::StartPush() {
    Post([this](Worker& worker) {
        std::optional<int> stored;
        if (worker.Open())
            stored = worker.Company().Push(worker.Local, [this](int done, int total) {
                Deliver([this, done, total] { emit PushProgress(done, total); });
                return !stopping_;
            });
        const QString problem = worker.EndStep();
        Deliver([this, stored = stored.value_or(0), problem] {
            // Asked again meanwhile (a download ended): that one may not have been in this
            // push, and what failed may work now.
            if (pushAgain_) {
                pushAgain_ = false;
                StartPush();
                return;
            }
            pushing_ = false;
            lastPush_ = PushOutcome{clock_(), stored, problem};
            emit PushFinished(stored, problem);
        });
    });
}

void TCompanyLink::Browse(const TArchiveFilter& filter) {
    Post([this, filter](Worker& worker) {
        QList<TDownloadSummary> all;
        QList<TDownloadSummary> shown;
        if (worker.Open()) {
            all = worker.Company().Downloads();
            const bool filtered =
                !filter.Recorder.isEmpty() || filter.From.isValid() || filter.To.isValid();
            if (worker.Company().Problem().isEmpty())
                shown = filtered ? worker.Company().Downloads(filter) : all;
        }
        const QString problem = worker.EndStep();
        Deliver([this, all, shown, problem] { emit Browsed(all, shown, problem); });
    });
}

void TCompanyLink::ReadLines(const QList<TDownloadSummary>& downloads) {
    Post([this, downloads](Worker& worker) {
        std::optional<QStringList> lines;
        if (worker.Open())
            lines = ArchivedLines(worker.Company(), downloads);
        const QString problem = worker.EndStep();
        Deliver([this, downloads, lines, problem] { emit LinesRead(downloads, lines, problem); });
    });
}
