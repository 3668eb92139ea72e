// tc8-screenshot FOLDER: pictures of the main window and of every dialog for the user guide,
// taken while a technician's session is played against the simulated recorder, started in
// this process on a pseudo-terminal that a private ports folder publishes as COM1.
// Needs a display (scripts/screenshots.sh runs it under xvfb-run).
#include "PostgresServer.h"
#include "ShotDesktop.h"
#include "SimulatedRecorder.h"
#include "WireFormat.h"
#include "app/TApplication.h"
#include "app/Translations.h"
#include "archive/CompanyArchive.h"
#include "archive/HistoryArchive.h"
#include "archive/TArchiveWindow.h"
#include "archive/TCompanyArchiveDialog.h"
#include "config/Container.h"
#include "firmware/TFboot.h"
#include "monitor/TLineMonitor.h"
#include "operations/TFhaslo_nowe.h"
#include "operations/THistoryChart.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Commands.h"
#include "serial/PortEnumeration.h"
#include "ui/TComboBox.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TMain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

using tc8sim::SimulatedRecorder;

// Pumps events until the condition holds; a step that never completes ends the tour.
void waitUntil(const char* step, const std::function<bool()>& condition) {
    QDeadlineTimer deadline(60000);
    while (!condition()) {
        if (deadline.hasExpired())
            throw std::runtime_error(std::string("timed out: ") + step);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
}

// Runs `action` once, as soon as the condition holds, also from inside the program's own
// waits (where the tour's waitUntil does not get a turn). Stops with its owner.
void whenTrue(QObject* owner, const std::function<bool()>& condition,
              const std::function<void()>& action) {
    auto* poll = new QTimer(owner);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, condition, action] {
        if (!condition())
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start();
}

// Presses a button or picks a menu item the way the user does: from the event loop.
void click(QAbstractButton* button) {
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}
void pick(QAction* item) {
    QMetaObject::invokeMethod(item, &QAction::trigger, Qt::QueuedConnection);
}

bool noBoxOpen() {
    return QApplication::activeModalWidget() == nullptr;
}

// A firmware file of twelve blocks for the simulated boot loader.
QString writeFirmwareFile(const QString& folder) {
    QByteArray image;
    for (int i = 0; i < 12 * 128 - 40; ++i)
        image.append(static_cast<char>((i * 37 + 11) & 0xFF));
    const QString path = folder + QStringLiteral("/tc8-v1.6.rfr");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(BuildContainer(FirmwareFileTag, image)) < 0)
        throw std::runtime_error("cannot write the firmware file");
    return path;
}

// The ports of a technician's laptop besides the simulator: two USB adapters, one of them
// not open to this user, and a USB modem.
class LaptopPorts : public TPortEnumeration {
public:
    QList<TListedPort> ListPorts() const override {
        TListedPort ftdi;
        ftdi.Device = QStringLiteral("/dev/ttyUSB0");
        ftdi.Description = QStringLiteral("FT232R USB UART");
        ftdi.Manufacturer = QStringLiteral("FTDI");
        ftdi.SerialNumber = QStringLiteral("A10K3J7Q");
        ftdi.VendorId = 0x0403;
        ftdi.ProductId = 0x6001;
        ftdi.StableName = QStringLiteral("usb-FTDI_FT232R_USB_UART_A10K3J7Q-if00-port0");
        TListedPort prolific;
        prolific.Device = QStringLiteral("/dev/ttyUSB1");
        prolific.Description = QStringLiteral("USB-Serial Controller");
        prolific.Manufacturer = QStringLiteral("Prolific Technology Inc.");
        prolific.VendorId = 0x067b;
        prolific.ProductId = 0x2303;
        prolific.StableName =
            QStringLiteral("usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0");
        prolific.Accessible = false;
        TListedPort modem;
        modem.Device = QStringLiteral("/dev/ttyACM0");
        modem.Description = QStringLiteral("USB Modem");
        return {ftdi, prolific, modem};
    }
};

// A cold room's readings: T1 about `degrees` with the compressor's cycle and a defrost every
// eight hours, T2 following it a little warmer, in tenths of a degree.
QList<QByteArray> roomReadings(const QDateTime& first, int count, int minutes, double degrees) {
    QList<QByteArray> records;
    for (int i = 0; i < count; ++i) {
        const QDateTime at = first.addSecs(60LL * minutes * i);
        const double hours = first.secsTo(at) / 3600.0;
        const double cycle = std::sin(hours * 2.1) * 0.8;
        const double defrost = std::fmod(hours, 8.0) < 0.5 ? 4.5 : 0.0;
        const int t1 = static_cast<int>(std::lround((degrees + cycle + defrost) * 10));
        const int t2 = static_cast<int>(std::lround((degrees + 1.6 + cycle * 0.6) * 10));
        records << tc8sim::WireFormat::DateTime(at) + tc8sim::WireFormat::Temperature(t1) +
                       tc8sim::WireFormat::Temperature(t2);
    }
    return records;
}

struct Tour {
    TMain& window;
    ShotDesktop& desktop;
    SimulatedRecorder& sim;
    QString workFolder;

    void logOn(const char* step) {
        click(window.Button_polacz);
        waitUntil(step,
                  [this] { return window.Edit_logon->text() == QStringLiteral("ZALOGOWANY"); });
        // The first status answer fills the live values.
        waitUntil(step, [this] { return !window.Temp->text().isEmpty(); });
    }

    void expectMessage(const char* step, const QString& text) {
        waitUntil(step,
                  [this, text] { return desktop.MessagesShown.contains(text) && noBoxOpen(); });
    }

    // A configuration as a technician finds it in a recorder at work.
    void storeRecorderConfiguration() {
        sim.WithModel([](tc8sim::RecorderModel& model, tc8sim::SimTime now) {
            const std::pair<std::uint8_t, QByteArray> groups[] = {
                {Cmd::WriteLimits, QByteArray("\x67\x88", 2)},  // -25 and +8 degrees
                {Cmd::WriteCorrection1, QByteArray("\x03", 1)}, // +0,3
                {Cmd::WriteCorrection2, QByteArray("\x82", 1)}, // -0,2
                {Cmd::WriteCounts, QByteArray("\x05\x0A", 2)},  // every 5 minutes, 10 reports
                {Cmd::WriteName, ToAnsi(QStringLiteral("Komora 2"))},
                {Cmd::WriteHeader1, ToAnsi(QStringLiteral("CHŁODNIA SKŁADOWA NR 1"))},
                {Cmd::WriteType, ToAnsi(QStringLiteral("Mroźnia"))},
                {Cmd::WriteHeader2, ToAnsi(QStringLiteral("ul. Portowa 12, Gdynia"))},
                {Cmd::WriteHeader3, ToAnsi(QStringLiteral("tel. 58 000 00 00"))},
            };
            model.Handle(Cmd::Logon, QByteArrayLiteral("0157"), now);
            for (const auto& [code, payload] : groups)
                model.Handle(code, payload, now);
            model.Handle(Cmd::Logout, QByteArrayLiteral("W"), now);
        });
    }

    // The opened port list, photographed with the window under it.
    void photographPortList() {
        window.Combo_Port->showPopup();
        QWidget* popup = window.Combo_Port->view()->window();
        waitUntil("port list", [popup] {
            return popup->isVisible() && popup->windowHandle() &&
                   popup->windowHandle()->isExposed();
        });
        QCoreApplication::processEvents();
        const QRect area = window.frameGeometry().united(popup->frameGeometry());
        desktop.SaveScreenArea(
            area.intersected(QRect(window.frameGeometry().topLeft(), QSize(area.width(), 220))),
            QStringLiteral("port-list.png"));
        window.Combo_Port->hidePopup();
    }

    // The menu "Historia" opened, with the top of the window under it.
    void photographHistoryMenu() {
        window.MainMenu->setActiveAction(window.Historia1->menuAction());
        QMenu* menu = window.Historia1;
        waitUntil("history menu", [menu] {
            return menu->isVisible() && menu->windowHandle() && menu->windowHandle()->isExposed();
        });
        QCoreApplication::processEvents();
        const QRect area = window.frameGeometry().united(menu->frameGeometry());
        desktop.SaveScreenArea(
            area.intersected(QRect(window.frameGeometry().topLeft(), QSize(area.width(), 160))),
            QStringLiteral("history-menu.png"));
        menu->close();
    }

    // Two downloads of the days before, beside the one of the tour: the same freezer stopped
    // half-way, and a chiller of the same store read on another adapter.
    void archiveEarlierDownloads(const QDateTime& now) {
        THistoryArchive archive(THistoryArchive::DefaultPath());
        const auto download = [&archive](TDownloadStart start, const QList<QByteArray>& records,
                                         TDownloadEnd end) {
            const std::optional<qint64> id = archive.BeginDownload(start);
            if (!id || !archive.AddRecords(*id, records, std::nullopt) ||
                !archive.EndDownload(*id, end, start.Started.addSecs(40)))
                throw std::runtime_error("cannot fill the archive: " +
                                         archive.Problem().toStdString());
        };
        // The tour's own download tells the recorder as the archive knows it.
        const QList<TDownloadSummary> tours = archive.Downloads();
        if (tours.size() != 1)
            throw std::runtime_error("the tour's download is not in the archive");
        TDownloadStart freezer = tours.front().Start;
        freezer.Started = now.addDays(-3).addSecs(-3 * 3600);
        download(freezer,
                 roomReadings(freezer.Started.addDays(-6), 6 * 288 / 2, 5, -22.0).mid(0, 700),
                 TDownloadEnd::Stopped);
        TDownloadStart chiller = freezer;
        chiller.Port = QStringLiteral("COM2");
        chiller.Device = QStringLiteral("/dev/ttyUSB1");
        chiller.Config.TC8Typ = QStringLiteral("Chłodnia");
        chiller.Config.TC8name = QStringLiteral("Komora 1");
        chiller.Started = now.addDays(-9).addSecs(2 * 3600 + 1260);
        download(chiller, roomReadings(chiller.Started.addDays(-7), 7 * 144, 10, 3.0),
                 TDownloadEnd::Complete);
    }

    // The archive window with the downloads so far, the newest chosen.
    void photographArchiveWindow() {
        pick(window.ArchiwumPobran1);
        TArchiveWindow* archive = nullptr;
        waitUntil("archive window", [this, &archive] {
            archive = window.findChild<TArchiveWindow*>();
            return archive != nullptr && archive->isVisible() && archive->windowHandle() &&
                   archive->windowHandle()->isExposed();
        });
        archive->Table->selectRow(0);
        QCoreApplication::processEvents();
        desktop.Save(*archive, QStringLiteral("archive-window.png"));
        archive->close();
    }

    // The company archive: its address given in its dialog, then the archive window listing
    // what this PC sent there beside a colleague's download.
    void photographCompanyArchive() {
        TPostgresServer server;
        if (!server.Problem().isEmpty() || !server.Sql(QStringLiteral("CREATE DATABASE tc8")))
            throw std::runtime_error("no PostgreSQL server: " + server.Problem().toStdString());
        const QString uri = server.Uri(QStringLiteral("tc8"));
        TCompanyArchive company(uri);
        if (!company.Init())
            throw std::runtime_error("no company archive: " + company.Problem().toStdString());
        const auto setAddress = [this](const QString& address, const char* picture) {
            bool done = false;
            desktop.DialogScripts[QStringLiteral("CompanyArchiveDialog")] = [&](QDialog& shown) {
                auto& dialog = static_cast<TCompanyArchiveDialog&>(shown);
                if (picture != nullptr) {
                    // The address a company would give rather than the tour's socket folder.
                    dialog.Edit_adres->setText(QStringLiteral(
                        "postgresql://serwis@archiwum.firma.pl/tc8?sslmode=require"));
                    desktop.Save(dialog, QLatin1String(picture));
                }
                dialog.Edit_adres->setText(address);
                dialog.ButtonOk->click();
                done = true;
            };
            pick(window.ArchiwumFirmy1);
            waitUntil("company archive dialog", [&] { return done && noBoxOpen(); });
        };
        setAddress(uri, "company-archive-dialog.png");
        waitUntil("downloads sent", [&] { return company.Downloads().size() == 3; });
        server.Sql(QStringLiteral("UPDATE tc8.downloads SET host = CASE WHEN recorder LIKE "
                                  "'Chłodnia%' THEN 'serwis-laptop-2' ELSE 'serwis-laptop-1' END"),
                   QStringLiteral("tc8"));

        pick(window.ArchiwumPobran1);
        TArchiveWindow* archive = nullptr;
        waitUntil("archive window", [this, &archive] {
            archive = window.findChild<TArchiveWindow*>();
            return archive != nullptr && archive->isVisible();
        });
        archive->SourceChoice->setCurrentIndex(1);
        waitUntil("company downloads listed", [archive] {
            return archive->Pages->currentWidget() == archive->Table &&
                   archive->Model->rowCount() == 3 && !archive->SendState->text().isEmpty();
        });
        archive->Table->selectRow(0);
        QCoreApplication::processEvents();
        desktop.Save(*archive, QStringLiteral("archive-window-company.png"));
        archive->SourceChoice->setCurrentIndex(0);
        archive->close();
        // The rest of the tour sends nowhere: the server goes with this step.
        setAddress(QString(), nullptr);
    }

    // The chart of the history just downloaded.
    void photographHistoryChart() {
        pick(window.WykresTemperatur1);
        THistoryChart* chart = nullptr;
        waitUntil("history chart", [this, &chart] {
            chart = window.findChild<THistoryChart*>();
            return chart != nullptr && chart->isVisible() && chart->windowHandle() &&
                   chart->windowHandle()->isExposed();
        });
        QCoreApplication::processEvents();
        desktop.Save(*chart, QStringLiteral("history-chart.png"));
        chart->close();
    }

    // The first page of the report of the history just downloaded, as a reader shows it.
    void photographReport() {
        const QString saved = QStringLiteral("Zapisano raport PDF");
        const QString pdf = workFolder + QStringLiteral("/raport.pdf");
        desktop.SaveAnswer = pdf;
        pick(window.RaportPdf1);
        expectMessage("report", saved);
        desktop.SavePdfFirstPage(pdf, QStringLiteral("report-first-page.png"));
    }

    // The line monitor after the logons and the configuration read, without the poll.
    void photographLineMonitor() {
        auto* monitor = window.findChild<TLineMonitor*>();
        if (monitor == nullptr)
            throw std::runtime_error("no line monitor");
        monitor->HideStatusPoll->setChecked(true);
        monitor->ShowTraced();
        monitor->Table->scrollToTop();
        desktop.Save(*monitor, QStringLiteral("line-monitor.png"));
        monitor->close();
    }

    void run() {
        storeRecorderConfiguration();
        desktop.Save(window, QStringLiteral("main-window-start.png"));
        photographPortList();
        // The monitor sees the tour's first frames; it is photographed after the read.
        pick(window.MonitorLacza1);

        // A wrong password first, then the right one.
        const QString wrongPassword = QStringLiteral("Błędne hasło");
        desktop.MessageShots[wrongPassword] = QStringLiteral("message-wrong-password.png");
        window.Edit_haslo->setText(QStringLiteral("1234"));
        click(window.Button_polacz);
        expectMessage("wrong password", wrongPassword);
        window.Edit_haslo->setText(QStringLiteral("0157"));
        logOn("logon");

        // The configuration read, photographed half-way; slow answers make the half-way
        // point last long enough.
        tc8sim::FaultOptions slow;
        slow.Delay = std::chrono::milliseconds(200);
        sim.SetFaults(slow);
        whenTrue(
            &window,
            [this] { return window.Panel_bar->isVisible() && window.Bar->Position() >= 10; },
            [this] { desktop.Save(window, QStringLiteral("main-window-reading.png")); });
        pick(window.Pobierz1);
        waitUntil("configuration read", [this] {
            return window.Bar->Max() == 20 && window.Bar->Position() == 20 &&
                   !window.Panel_bar->isVisible();
        });
        sim.SetFaults({});
        photographLineMonitor();

        // The history, then the window as a technician sees it at work.
        click(window.ButtonPobierz);
        waitUntil("history", [this] {
            return window.trm->toPlainText().contains(QStringLiteral("Koniec historii"));
        });
        waitUntil("status after the history", [this] { return !window.Temp->text().isEmpty(); });
        desktop.Save(window, QStringLiteral("main-window.png"));
        photographHistoryMenu();
        photographHistoryChart();
        photographReport();
        archiveEarlierDownloads(desktop.Now());
        photographArchiveWindow();
        photographCompanyArchive();

        const QString historySaved = QStringLiteral("Zapisano plik historii");
        desktop.MessageShots[historySaved] = QStringLiteral("message-history-saved.png");
        desktop.SaveAnswer = workFolder + QStringLiteral("/historia.txt");
        click(window.ButtonZapisz);
        expectMessage("history file", historySaved);

        bool passwordDialogShown = false;
        desktop.DialogScripts[QStringLiteral("Fhaslo_nowe")] = [&](QDialog& dialog) {
            desktop.Save(dialog, QStringLiteral("password-dialog.png"));
            passwordDialogShown = true;
            static_cast<TFhaslo_nowe&>(dialog).Button2->click();
        };
        click(window.Button_zmiana_hasla);
        waitUntil("password dialog", [&] { return passwordDialogShown && noBoxOpen(); });

        bool aboutBoxShown = false;
        desktop.DialogScripts[QStringLiteral("FInfo")] = [&](QDialog& dialog) {
            desktop.Save(dialog, QStringLiteral("about-box.png"));
            aboutBoxShown = true;
            dialog.accept();
        };
        pick(window.Oprogramie1);
        waitUntil("about box", [&] { return aboutBoxShown && noBoxOpen(); });

        // A port that cannot be opened: COM8 is pinned to an adapter that is unplugged, and
        // the box says so.
        click(window.Button_rozlacz);
        expectMessage("logout", QStringLiteral("Wylogowano z Rejestratora TC-8"));
        const QString portUnavailable = QStringLiteral("Port COM niedostępny");
        desktop.MessageShots[portUnavailable] = QStringLiteral("message-port-unavailable.png");
        window.Combo_Port->setCurrentIndex(7);
        click(window.Button_polacz);
        expectMessage("unavailable port", portUnavailable);
        window.Combo_Port->setCurrentIndex(0);
        logOn("second logon");

        // The firmware update, from choosing the file to the end.
        desktop.OpenAnswer = writeFirmwareFile(workFolder);
        const QString warning = QStringLiteral("NIE WYŁĄCZAJ STEROWNIKA KVAM Z ZASILANIA");
        const QString done = QStringLiteral("Aktualizacja zakonczona");
        desktop.MessageShots[warning] = QStringLiteral("message-firmware-warning.png");
        desktop.MessageShots[done] = QStringLiteral("message-firmware-done.png");
        desktop.DialogScripts[QStringLiteral("Fboot")] = [this](QDialog& dialog) {
            auto& boot = static_cast<TFboot&>(dialog);
            desktop.Save(boot, QStringLiteral("firmware-dialog-empty.png"));
            boot.Button1->click();
            desktop.Save(boot, QStringLiteral("firmware-dialog.png"));
            QPointer<TGauge> bar(boot.BarBoot);
            whenTrue(
                &boot, [bar] { return bar && bar->isVisible() && bar->Position() >= 40; },
                [this, &boot] { desktop.Save(boot, QStringLiteral("firmware-progress.png")); });
            click(boot.ButtonStart);
        };
        click(window.ButtonFirmware);
        expectMessage("firmware update", done);

        // The pictures taken from inside the program's waits come only when the tour caught
        // the moment; a missing one fails the run rather than leave an old picture behind.
        for (const char* picture : {"main-window-start.png",
                                    "message-wrong-password.png",
                                    "main-window-reading.png",
                                    "port-list.png",
                                    "main-window.png",
                                    "history-menu.png",
                                    "history-chart.png",
                                    "report-first-page.png",
                                    "line-monitor.png",
                                    "archive-window.png",
                                    "company-archive-dialog.png",
                                    "archive-window-company.png",
                                    "message-history-saved.png",
                                    "password-dialog.png",
                                    "about-box.png",
                                    "message-port-unavailable.png",
                                    "firmware-dialog-empty.png",
                                    "firmware-dialog.png",
                                    "message-firmware-warning.png",
                                    "firmware-progress.png",
                                    "message-firmware-done.png"})
            if (!desktop.PicturesWritten.contains(QLatin1String(picture)))
                throw std::runtime_error(std::string("no picture ") + picture);
    }
};

} // namespace

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    InstallPolishQtTranslations(app);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tc8-screenshot FOLDER\n");
        return 2;
    }
    QDir output(QString::fromLocal8Bit(argv[1]));
    if (!output.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "tc8-screenshot: cannot create %s\n", argv[1]);
        return 1;
    }

    // A private ports folder: COM1 is the simulator, COM8 a link to a device that is not there.
    QTemporaryDir work;
    qputenv("XDG_DATA_HOME", work.path().toLocal8Bit());
    const QString ports = work.path() + QStringLiteral("/tc8-configurator/ports");
    QDir().mkpath(ports);
    // A pinned adapter that is unplugged now (no machine of the tour has a ninth adapter).
    QFile::link(QStringLiteral("/dev/ttyUSB9"), ports + QStringLiteral("/COM8"));

    SimulatedRecorder::Settings settings;
    settings.PortNumber = 1;
    settings.PortsFolder = ports.toStdString();
    settings.Recorder.HistoryRecords = 24;
    settings.Recorder.StartClock = QDateTime(QDate(2025, 6, 12), QTime(9, 41, 0));
    SimulatedRecorder sim(settings);
    try {
        sim.Start();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tc8-screenshot: the simulated recorder did not start: %s\n",
                     error.what());
        return 1;
    }

    int result = 0;
    {
        ShotDesktop desktop(output);
        desktop.SetClock(settings.Recorder.StartClock);
        TMain window(desktop);
        window.SetPortEnumeration(std::make_unique<LaptopPorts>());
        desktop.SetParentWindow(&window);
        window.show();
        try {
            waitUntil("main window",
                      [&] { return window.windowHandle() && window.windowHandle()->isExposed(); });
            Tour{window, desktop, sim, work.path()}.run();
        } catch (const std::exception& error) {
            desktop.Failures << QString::fromUtf8(error.what());
        }
        for (const QString& failure : desktop.Failures)
            std::fprintf(stderr, "tc8-screenshot: %s\n", qPrintable(failure));
        if (!desktop.Failures.isEmpty())
            result = 1;
        else
            std::printf("tc8-screenshot: %lld pictures in %s\n",
                        static_cast<long long>(desktop.PicturesWritten.size()),
                        qPrintable(output.absolutePath()));
    }
    sim.Stop();
    return result;
}
