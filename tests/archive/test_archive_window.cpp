// The archive window end to end: downloads from the simulated recorder, kept after their
// window is gone, listed, opened again, merged, exported and deleted.
#include "MainAccess.h"
#include "PdfText.h"
#include "PostgresServer.h"
#include "RecorderSession.h"
#include "archive/CompanyArchive.h"
#include "archive/HistoryArchive.h"
#include "archive/TArchiveWindow.h"
#include "archive/TCompanyArchiveDialog.h"
#include "operations/ArchivedHistory.h"
#include "ui/TGauge.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SelectRows(TArchiveWindow& archive, std::initializer_list<int> rows) {
    archive.Table->clearSelection();
    for (const int row : rows)
        archive.Table->selectionModel()->select(
            archive.Model->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void Press(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

TEST(ArchiveWindow, DownloadsOutliveTheirWindowAndOpenAloneOrMergedExportAndDelete) {
    tc8sim::SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
    settings.Recorder.HistoryRecords = 60;
    settings.Recorder.StartClock = QDateTime(QDate(2026, 12, 7), QTime(1, 30, 5));
    RecorderSession session(std::move(settings));
    ScriptedDesktop& desktop = session.desktop;
    ASSERT_TRUE(session.LogOn());
    // Read from the recorder, the configuration names it in the archive.
    TMain* window = session.window.get();
    RecorderSession::Click(window->Icon_get);
    ASSERT_TRUE(WaitFor([&] {
        return window->Bar->Max() > 0 && window->Bar->Position() == window->Bar->Max() &&
               window->Panel_bar->isHidden();
    }));
    const ConfigRecord read = Inside(*window).CurrentConfig();
    const QString recorder = RecorderLabel(read, true);

    // Two downloads of the same history.
    THistoryArchive archive(THistoryArchive::DefaultPath());
    const auto completed = [&archive] {
        int count = 0;
        for (const TDownloadSummary& download : archive.Downloads())
            count += download.End == TDownloadEnd::Complete;
        return count;
    };
    QTemporaryDir folder;
    // The report of the box says where and when its readings were downloaded: after the
    // download itself, and after it is opened from the archive below.
    const auto boxReport = [&](const char* name) {
        desktop.FileAnswers = {folder.filePath(name)};
        window->RaportPdf1->trigger();
        const QString text = PdfText(folder.filePath(name));
        EXPECT_TRUE(text.contains(QStringLiteral("Port: COM1"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Pobrano:")));
    };
    QString downloaded;
    for (int n = 1; n <= 2; ++n) {
        RecorderSession::Click(window->ButtonPobierz);
        ASSERT_TRUE(
            WaitFor([&] { return completed() == n && window->ButtonPobierz->isEnabled(); }));
        downloaded = window->trm->toPlainText();
        if (n == 1)
            boxReport("pobrane.pdf");
    }
    ASSERT_TRUE(downloaded.endsWith(QStringLiteral("\nKoniec historii")));
    const QString merged = downloaded.chopped(QStringLiteral("\nKoniec historii").size());

    // A new window, as after the program was started again.
    session.window.reset();
    session.window = std::make_unique<TMain>(desktop);
    window = session.window.get();
    window->ArchiwumPobran1->trigger();
    auto* list = window->findChild<TArchiveWindow*>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->Pages->currentWidget(), list->Table);
    ASSERT_EQ(list->Model->rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(list->Model->item(row, TArchiveWindow::Recorder)->text(), recorder);
        EXPECT_EQ(list->Model->item(row, TArchiveWindow::Records)->text(), "60");
        EXPECT_EQ(list->Model->item(row, TArchiveWindow::End)->text(), "całe");
        EXPECT_EQ(list->Model->item(row, TArchiveWindow::Port)->text(), "COM1");
    }
    EXPECT_EQ(list->Model->item(1, TArchiveWindow::FirstReading)->text().left(10), "07.12.2026");
    EXPECT_FALSE(list->ButtonOpen->isEnabled());

    // One download, as it came; then saved as "Zapisz do pliku" saves it, and exported.
    SelectRows(*list, {1});
    list->ButtonOpen->click();
    EXPECT_EQ(window->trm->toPlainText(), downloaded);
    EXPECT_EQ(desktop.Log.last(), "Information: Odczytano z archiwum");
    boxReport("z-archiwum.pdf");
    const QString saved = folder.filePath("zapisana.txt");
    const QString exported = folder.filePath("eksport.txt");
    desktop.FileAnswers = {saved, exported};
    window->ButtonZapisz->click();
    list->ButtonExportTxt->click();
    EXPECT_FALSE(FileBytes(saved).isEmpty());
    EXPECT_EQ(FileBytes(exported), FileBytes(saved));
    // Its report carries the header and the facts the archive recorded, not the new window's.
    desktop.FileAnswers = {folder.filePath("raport.pdf")};
    list->ButtonReportPdf->click();
    const QString report = PdfText(folder.filePath("raport.pdf"));
    for (const QString& text :
         {read.TC8Nazwa, read.TC8name, QStringLiteral("Oprogramowanie rejestratora:"),
          QStringLiteral("Port: COM1"), QStringLiteral("07.12.2026")})
        EXPECT_TRUE(report.contains(text)) << text.toStdString();
    EXPECT_FALSE(report.contains(QStringLiteral("nie odczytane z rejestratora")));

    // Both, by Enter: the records they share once, in time order, without an end line.
    SelectRows(*list, {0, 1});
    Press(list->Table, Qt::Key_Return);
    EXPECT_EQ(window->trm->toPlainText(), merged);

    // Delete asks first; "Nie" keeps both.
    desktop.QuestionAnswers = {false, true};
    SelectRows(*list, {0});
    Press(list->Table, Qt::Key_Delete);
    EXPECT_EQ(list->Model->rowCount(), 2);
    Press(list->Table, Qt::Key_Delete);
    EXPECT_EQ(desktop.CountOf("Question: Usunąć z archiwum 1 pobranie? Tego nie da się cofnąć."),
              2);
    EXPECT_EQ(list->Model->rowCount(), 1);
    EXPECT_EQ(archive.Downloads().size(), 1);

    // A period after the readings leaves nothing listed.
    list->ToDate->setDate(QDate(2027, 1, 31));
    list->FromDate->setDate(QDate(2027, 1, 1));
    list->PeriodFilter->setChecked(true);
    EXPECT_EQ(list->Model->rowCount(), 0);
    EXPECT_EQ(list->Count->text(), "W archiwum: 1 pobranie, pokazano 0");

    // An archive that cannot be opened is said instead of the list.
    TArchiveWindow unusable(desktop, QStringLiteral("/proc/tc8/archiwum.sqlite"), nullptr);
    unusable.Reload();
    EXPECT_EQ(unusable.Pages->currentWidget(), unusable.Message);
    EXPECT_TRUE(unusable.Message->text().contains("nie można założyć folderu /proc/tc8"));
    EXPECT_FALSE(unusable.ButtonOpen->isEnabled());
}

// With the company archive set up, a finished download goes there by itself; the archive
// window lists every PC's downloads there, opens one, and deletes nothing there.
TEST(ArchiveWindow, EachDownloadGoesToTheCompanyArchiveWhichListsEveryPcs) {
    TPostgresServer server;
    ASSERT_TRUE(server.Problem().isEmpty()) << server.Problem().toStdString();
    ASSERT_TRUE(server.Sql(QStringLiteral("CREATE DATABASE firma")));
    const QString firma = server.Uri(QStringLiteral("firma"));
    TCompanyArchive company(firma);
    ASSERT_TRUE(company.Init()) << company.Problem().toStdString();
    // Another PC's download, sent before.
    QTemporaryDir otherPc;
    THistoryArchive other(otherPc.filePath(QStringLiteral("archiwum.sqlite")));
    TDownloadStart start;
    start.Started = QDateTime(QDate(2026, 12, 1), QTime(8, 0));
    const qint64 id = other.BeginDownload(start).value_or(0);
    ASSERT_TRUE(
        other.AddRecords(id, {QByteArray("\x1a\x0c\x01\x08\x00\x00\x15\x05\x80\x03", 10)}, 1));
    ASSERT_TRUE(other.EndDownload(id, TDownloadEnd::Complete, start.Started));
    ASSERT_EQ(company.Push(other), 1);

    tc8sim::SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
    settings.Recorder.HistoryRecords = 60;
    RecorderSession session(std::move(settings));
    TMain* window = session.window.get();
    session.desktop.ModalScripts.push_back([&](QDialog& shown) {
        auto& dialog = dynamic_cast<TCompanyArchiveDialog&>(shown);
        dialog.Edit_adres->setText(QStringLiteral("postgresql://jan:tajne@db/firma"));
        dialog.ButtonOk->click();
        EXPECT_TRUE(dialog.isVisible()) << "a password is refused";
        dialog.Edit_adres->setText(firma);
        dialog.ButtonOk->click();
    });
    window->ArchiwumFirmy1->trigger();
    EXPECT_EQ(session.desktop.CountOf("Error: Niepoprawny adres archiwum firmy"), 1);
    EXPECT_EQ(CompanyTargetSetting(QFileInfo(THistoryArchive::DefaultPath()).absolutePath()),
              firma);
    ASSERT_TRUE(session.LogOn());
    RecorderSession::Click(window->ButtonPobierz);
    ASSERT_TRUE(WaitFor([&] { return company.Downloads().size() == 2; }))
        << session.desktop.Log.join(u'\n').toStdString();

    window->ArchiwumPobran1->trigger();
    auto* list = window->findChild<TArchiveWindow*>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->SourceChoice->isVisible());
    list->SourceChoice->setCurrentIndex(1);
    ASSERT_TRUE(WaitFor([&] { return list->Model->rowCount() == 2; }));
    EXPECT_FALSE(list->Table->isColumnHidden(TArchiveWindow::Host));
    EXPECT_EQ(list->Count->text(), "W archiwum firmy: 2 pobrania");
    SelectRows(*list, {1});
    EXPECT_FALSE(list->ButtonDelete->isEnabled());
    list->ButtonOpen->click();
    // The other PC's one reading, read on the link's thread.
    EXPECT_TRUE(WaitFor([&] {
        const QString box = window->trm->toPlainText();
        return box.count(u'\n') == 1 && box.endsWith("Koniec historii");
    }));

    list->ButtonSend->click();
    ASSERT_TRUE(WaitFor([&] { return list->ButtonSend->isEnabled(); }));
    EXPECT_TRUE(list->SendState->text().startsWith("Wysłano do archiwum firmy: 0 pobrań"))
        << list->SendState->text().toStdString();
}

} // namespace
