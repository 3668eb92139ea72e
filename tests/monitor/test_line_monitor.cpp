// The line monitor window offscreen against the simulated recorder: opened before the
// logon, its rows, the filter of the status poll, copying and saving, and no trace once closed.
#include "MainAccess.h"
#include "RecorderSession.h"
#include "monitor/TLineMonitor.h"
#include "protocol/Commands.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList Column(const TLineMonitor& monitor, int column) {
    QStringList cells;
    for (int row = 0; row < monitor.Model->rowCount(); ++row)
        cells << monitor.Model->index(row, column).data().toString();
    return cells;
}

TEST(LineMonitor, ShowsFiltersCopiesAndSavesTheFramesOfTheLine) {
    RecorderSession session;
    TMain& window = *session.window;
    window.MonitorLacza1->trigger();
    auto* monitor = window.findChild<TLineMonitor*>();
    ASSERT_NE(monitor, nullptr);
    EXPECT_TRUE(monitor->isVisible());
    ASSERT_TRUE(session.LogOn());
    const auto polls = [&] {
        monitor->ShowTraced();
        return Column(*monitor, TLineTraceModel::What).count(QStringLiteral("50 Stan"));
    };
    ASSERT_TRUE(WaitFor([&] { return polls() >= 4; }));

    const QStringList what = Column(*monitor, TLineTraceModel::What);
    ASSERT_GE(what.size(), 2);
    EXPECT_EQ(what.mid(0, 2), (QStringList{"01 Logowanie", "01 Logowanie"}));
    const QModelIndex arrow = monitor->Model->index(0, TLineTraceModel::Direction);
    EXPECT_EQ(arrow.data().toString(), QStringLiteral("→"));
    EXPECT_EQ(arrow.data(Qt::AccessibleTextRole).toString(), QStringLiteral("wysłane"));
    EXPECT_NE(arrow.data(Qt::ForegroundRole),
              monitor->Model->index(1, TLineTraceModel::Direction).data(Qt::ForegroundRole));

    monitor->HideStatusPoll->setChecked(true);
    EXPECT_EQ(Column(*monitor, TLineTraceModel::What),
              (QStringList{"01 Logowanie", "01 Logowanie"}));

    monitor->Table->selectRow(0);
    monitor->ButtonCopy->click();
    EXPECT_TRUE(session.desktop.Clipboard.contains(QStringLiteral("→ 01 Logowanie | ** ** ** **")))
        << session.desktop.Clipboard.toStdString();
    EXPECT_FALSE(session.desktop.Clipboard.contains(QStringLiteral("0157")));

    QTemporaryDir folder;
    session.desktop.FileAnswers.push_back(folder.filePath("monitor.txt"));
    monitor->ButtonSave->click();
    QFile saved(folder.filePath("monitor.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(saved.readAll()).split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], TraceLine(monitor->Model->EntryAt(0)));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("← 01 Logowanie")));
    EXPECT_EQ(session.desktop.Log.last(), QStringLiteral("Information: Zapisano plik monitora"));

    // Closed, the monitor takes nothing more: the session traces for no one.
    monitor->close();
    EXPECT_EQ(Inside(window).Session().TraceSink(), nullptr);
}

} // namespace
