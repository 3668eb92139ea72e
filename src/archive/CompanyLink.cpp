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
    connect(thread_, &QThread::finished, context_, &QObject::deleteLater);
    thread_->start();
}

TCompanyLink::~TCompanyLink() {
    stopping_ = true;
    // The connections close on the thread that made them, after the step under way.
    QMetaObject::invokeMethod(
        context_,
        [this] {
            worker_.reset();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    thread_->wait();
    delete thread_;
}

void TCompanyLink::Post(std::function<void(Worker&)> work) {
    QMetaObject::invokeMethod(
        context_,
        [this, work = std::move(work)] {
            if (!worker_)
                worker_ = std::make_unique<Worker>(target_, localArchive_);
            work(*worker_);
        },
        Qt::QueuedConnection);
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
                QMetaObject::invokeMethod(
                    this, [this, done, total] { emit PushProgress(done, total); },
                    Qt::QueuedConnection);
                return !stopping_;
            });
        const QString problem = worker.EndStep();
        QMetaObject::invokeMethod(
            this,
            [this, stored = stored.value_or(0), problem] {
                if (pushAgain_ && problem.isEmpty()) {
                    pushAgain_ = false;
                    StartPush();
                    return;
                }
                pushing_ = pushAgain_ = false;
                emit PushFinished(stored, problem);
            },
            Qt::QueuedConnection);
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
        QMetaObject::invokeMethod(
            this, [this, all, shown, problem] { emit Browsed(all, shown, problem); },
            Qt::QueuedConnection);
    });
}

void TCompanyLink::ReadLines(const QList<TDownloadSummary>& downloads) {
    Post([this, downloads](Worker& worker) {
        std::optional<QStringList> lines;
        if (worker.Open())
            lines = ArchivedLines(worker.Company(), downloads);
        const QString problem = worker.EndStep();
        QMetaObject::invokeMethod(
            this, [this, downloads, lines, problem] { emit LinesRead(downloads, lines, problem); },
            Qt::QueuedConnection);
    });
}
