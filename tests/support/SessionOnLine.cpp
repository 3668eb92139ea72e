#include "SessionOnLine.h"

#include "SessionAccess.h"
#include "config/ConfigRecord.h"
#include "core/ErrorFunnel.h"
#include "core/Guarded.h"

#include <QTimer>

SessionOnLine::SessionOnLine(tc8sim::SimulatedRecorder::Settings settings)
    : SimulatedLine(std::move(settings)),
      session(std::make_unique<TRecorderSession>(desktop, *this)) {
    TSessionTestAccess::SetTickInterval(*session, TickMs);
    // The session's part of the program-wide handler, as a front end wires it.
    if (auto* funnel = dynamic_cast<TErrorFunnel*>(QCoreApplication::instance()))
        funnel->OnException = [this](const std::exception& error) { session->HandleError(error); };
}

SessionOnLine::~SessionOnLine() {
    if (auto* funnel = dynamic_cast<TErrorFunnel*>(QCoreApplication::instance()))
        funnel->OnException = nullptr;
    session.reset();
}

void SessionOnLine::Report(TSessionReport report) {
    const TSessionReportText said = SessionReportText(report);
    if (said.Beep)
        Log << QStringLiteral("beep");
    const QString kind = said.Kind == TReportKind::Error     ? QStringLiteral("Error")
                         : said.Kind == TReportKind::Warning ? QStringLiteral("Warning")
                                                             : QStringLiteral("Information");
    Log << kind + QStringLiteral(": ") + said.Text;
}

void SessionOnLine::ReportArchiveProblem(const QString& text) {
    Log << QStringLiteral("Warning: ") + text;
}

void SessionOnLine::ReportRecordFault(RecordFault fault) {
    Log << QStringLiteral("beep") << QStringLiteral("Error: ") + RecordFaultMessage(fault);
}

void SessionOnLine::Later(std::function<void()> action) {
    QTimer::singleShot(0, QCoreApplication::instance(), Guarded(std::move(action)));
}

bool SessionOnLine::LogOn() {
    Later([this] { session->Connect(1, QStringLiteral("0157")); });
    return WaitFor([this] { return session->IsLoggedOn(); });
}
