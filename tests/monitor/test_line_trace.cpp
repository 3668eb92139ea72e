// The session's trace of a scripted exchange with the simulated recorder, line by line: a
// logon, a poll re-sent, a configuration group behind noise and again after a wrong
// checksum, a history record, and a firmware block's acknowledgement (the update restarts
// the recorder without a logout).
#include "SessionOnLine.h"
#include "config/Container.h"
#include "firmware/FirmwareBlocks.h"
#include "monitor/LineTrace.h"
#include "operations/HistoryRendering.h"
#include "protocol/Commands.h"

#include <gtest/gtest.h>

namespace {

struct TCollected : TLineTraceSink {
    void Traced(TTraceEntry entry) override { Entries.push_back(std::move(entry)); }
    std::vector<TTraceEntry> Entries;
};

// A line without its time, which no test can know.
QString Untimed(const TTraceEntry& entry) {
    return TraceLine(entry).mid(13);
}

TEST(LineTrace, AScriptedExchangeIsTracedFrameByFrame) {
    tc8sim::SimulatedRecorder::Settings settings = SimulatedLine::DefaultSettings();
    settings.Recorder.HistoryRecords = 1;
    settings.Recorder.RestartSilence = std::chrono::minutes(5);
    SessionOnLine line(settings);
    line.desktop.SleepScale = 0.02;
    TRecorderSession& session = *line.session;
    TCollected trace;
    session.SetTraceSink(&trace);
    const auto faults = [&](const std::function<void(tc8sim::FaultOptions&)>& adjust) {
        tc8sim::FaultOptions options = line.sim->Faults();
        adjust(options);
        line.sim->SetFaults(options);
    };
    const auto count = [&](const QString& text) {
        return std::count_if(trace.Entries.begin(), trace.Entries.end(),
                             [&](const TTraceEntry& e) { return Untimed(e).startsWith(text); });
    };

    ASSERT_TRUE(line.LogOn());
    // The next poll goes unanswered, is sent again and answered; then the poll stops, so
    // that every further answer is to a request of the test.
    faults([](auto& options) { options.DropNext = 1; });
    ASSERT_TRUE(WaitFor([&] { return count(QStringLiteral("→ 50 Stan (ponownie)")) == 1; }));
    ASSERT_TRUE(WaitFor([&] { return !IsSent(trace.Entries.back()); }));
    session.StopStatusPoll();

    bool answered = false;
    faults([](auto& options) { options.PrefixNext = QByteArray("\x01\x02", 2); });
    SessionOnLine::Later([&] {
        session.SendRequest(Cmd::ReadLimits, "G");
        answered = session.WaitForResponse(Cmd::ShortTimeout, Cmd::ReadLimits);
    });
    ASSERT_TRUE(WaitFor([&] { return answered; }));
    answered = false;
    faults([](auto& options) {
        options.PrefixNext.clear();
        options.CorruptNext = 1;
    });
    SessionOnLine::Later([&] {
        session.SendRequest(Cmd::ReadLimits, "G");
        answered = session.WaitForResponse(Cmd::ShortTimeout, Cmd::ReadLimits);
    });
    ASSERT_TRUE(WaitFor([&] { return answered; }));

    SessionOnLine::Later([&] { session.StartHistoryDownload(); });
    ASSERT_TRUE(WaitFor([&] { return count(QStringLiteral("← 46 Koniec historii")) == 1; }));

    bool updated = false;
    SessionOnLine::Later([&] {
        updated = session.UpdateFirmware(
            FirmwareBlocks(BuildContainer(FirmwareFileTag, QByteArray(FirmwareBlockSize, '\x07'))));
    });
    ASSERT_TRUE(WaitFor([&] { return updated; }));

    const QByteArray record = line.Recorder().HistoryRecords.front();
    const QString limits =
        QStringLiteral("← 04 Odczyt zakresu | 84 8A | „Š | TempMin = +4, TempMax = +10");
    const QStringList expected{
        QStringLiteral("→ 01 Logowanie | ** ** ** ** | **** | hasło ukryte"),
        QStringLiteral("← 01 Logowanie | 54 35 | T5 | hasło przyjęte, TC-8 v 1.5"),
        QStringLiteral("→ 04 Odczyt zakresu | 47 | G | "),
        QStringLiteral("← odrzucone: szum | 01 02 | .. | 2 B"),
        limits,
        QStringLiteral("→ 04 Odczyt zakresu | 47 | G | "),
        QStringLiteral("← odrzucone: błędna suma kontrolna"),
        QStringLiteral("→ 04 Odczyt zakresu (ponownie) | 47 | G | "),
        limits,
        QStringLiteral("→ 49 Start historii | 68 | h | "),
        QStringLiteral("← 49 Start historii | 10 00 | .. | długość historii 16 (rekordów: 1)"),
        QStringLiteral("← 47 Rekord historii | "),
        QStringLiteral("← 46 Koniec historii |  |  | "),
        QStringLiteral("→ 64 Restart | 42 | B | "),
        QStringLiteral("→ 65 Blok firmware | 00 07"),
        QStringLiteral("← pojedynczy bajt | 21 | ! | potwierdzenie bloku firmware"),
        QStringLiteral("→ 66 Koniec firmware | 4B | K | "),
    };
    QStringList traced;
    for (const TTraceEntry& entry : trace.Entries)
        if (!IsStatusPoll(entry))
            traced << Untimed(entry);
    ASSERT_EQ(traced.size(), expected.size()) << traced.join(u'\n').toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(traced[i].startsWith(expected[i]))
            << i << ": " << traced[i].toStdString() << "\nexpected: " << expected[i].toStdString();
    EXPECT_TRUE(traced[11].endsWith(*HistoryLine(record)));
    EXPECT_TRUE(traced[6].endsWith(QStringLiteral("| 6 B")));
    EXPECT_EQ(count(QStringLiteral("→ 50 Stan | 47 | G")), count(QStringLiteral("← 50 Stan")));
    for (qsizetype i = 1; i < static_cast<qsizetype>(trace.Entries.size()); ++i)
        EXPECT_LE(trace.Entries[i - 1].Micros, trace.Entries[i].Micros);
}

} // namespace
