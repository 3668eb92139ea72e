#pragma once

#include "firmware/TFirmwareHost.h"
#include "operations/TPasswordHost.h"
#include "protocol/PortDirectory.h"
#include "protocol/TSessionHost.h"
#include "report/HistoryReport.h"
#include "ui/Desktop.h"
#include "ui/TMainControls.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>

class QTimer;
class RepaintThrottle;
class TArchiveWindow;
class TCompanyLink;
class TLineMonitor;
class THistoryChart;
class TPortEnumeration;
class TRecorderSession;
struct StatusTexts;
struct ConfigRecord;
enum class ConfigField;
enum class RecordFault;

// The main window. It owns the recorder session for the whole run and shows what the
// session reports; it holds the configuration and keeps it to itself; the dialogs reach it
// through the narrow hosts they are given. Its handlers are defined next to the subsystem
// they belong to (src/protocol/TMain*.cpp and so on); this folder holds its construction
// and layout.
class TMain : public QMainWindow,
              public TMainControls,
              public TFirmwareHost,
              public TPasswordHost,
              public TSessionHost {
    Q_OBJECT
public:
    explicit TMain(Desktop& desktop, QWidget* parent = nullptr);
    ~TMain() override;

    Desktop& desk() const override { return desktop_; }

    // The program-wide error handler: every exception that escapes an event handler ends
    // here (see TApplication::notify).
    void ApplicationException(const std::exception& error);

    // Where the machine's serial ports come from (the system's by default).
    void SetPortEnumeration(std::unique_ptr<TPortEnumeration> enumeration);

private:
    friend class TMainTestAccess;

    // The recorder session: the line, the waits, the poll, the logon, the history download
    // and the commands. The window shows what it reports and gives it the person's clicks.
    TRecorderSession* Session = nullptr;
    // The session's host: its reports as the boxes and beeps of the window.
    void Report(TSessionReport report) override;
    void ConnectSessionSignals();

    // ---- Connection and logon (src/protocol/TMainConnection.cpp) ----
    void Combo_PortDropDown();
    void Button_polaczClick();
    void Button_rozlaczClick();
    void Edit_hasloKeyPress(QChar& key);
    void Edit_hasloExit();
    void EnterLoggedOn() override;
    void EnterLoggedOff() override;
    void EnableDeviceControls() override;
    void DisableDeviceControls() override;
    // The window's controls as the session's state gives them.
    void ShowSessionState();
    void ClearStatus();

    // ---- Configuration (src/config/TMainConfig*.cpp) ----
    // The configuration as the session holds it.
    const ConfigRecord& CurrentConfig() const;
    void ShowTempMin();
    void ShowTempMax();
    void ShowCorrections();

    void SpeedButton3Click(); // Icon_get
    void Icon_putClick();
    void Pobierz1Click(); // "Dane" -> "Odczyt"
    void Zapisz1Click();  // "Dane" -> "Zapisz"
    void ConfigFieldReceived(ConfigField field);
    void ShowConfigProgress(const QString& caption, int position, int maximum);
    void ReportRecordFault(RecordFault fault) override;
    void ReportArchiveProblem(const QString& text) override;

    void SpinButton3UpClick();
    void SpinButton3DownClick();
    void SpinButton2UpClick();
    void SpinButton2DownClick();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void SpinButton5UpClick();
    void SpinButton5DownClick();
    void SpinButton4UpClick();
    void SpinButton4DownClick();
    // Text changes: each marks its own field edited.
    void TempMinChange();
    void TempMaxChange();
    void TempZapiszChange();
    void IleDrukChange();
    void TC8TypChange();
    void TC8nameChange();
    void TC8NazwaChange();
    void TC8Nazwa2Change();
    void TC8Nazwa3Change();
    // Text change of either correction: their spin buttons mark them, not their texts.
    void TempKorektaChange();
    void IleDrukKeyPress(QChar& key);
    void IleDrukExit();

    void SaveConfigFile();
    void LoadConfigFile();
    // Reads the container file at path into the session's FileBuffer and checks its tag and
    // check byte, reporting each fault in a message box; true when both are right.
    bool ReadContainerFile(const QString& path, QByteArrayView expectedTag);
    void Odczyt1Click(); // "Plik" -> "Odczyt"
    void Zapis1Click();  // "Plik" -> "Zapis"

    // ---- Live status, history, recorder commands (src/operations/TMain*.cpp) ----
    void StatusReceived(const StatusTexts& status);

    void ButtonPobierzClick();
    void ButtonSTOPClick();
    void ButtonZapiszClick();
    void ShowHistoryStarted();
    void AppendHistoryLines(const QStringList& lines);
    void ShowHistoryProgress(int position, int maximum);

    // The history as readings: chart, CSV, saved histories opened again
    // (src/operations/TMainHistoryChart.cpp).
    void WykresTemperatur1Click();
    void EksportCsv1Click();
    void OtworzHistorie1Click();
    void ShowHistoryContextMenu(const QPoint& at);
    // The history box's readings and the band of the editor, into the chart window.
    void RefreshHistoryChart();
    // Refreshes the open chart soon; changes that come quickly are taken together.
    void HistoryChartDue();
    THistoryChart* HistoryChart = nullptr;
    QTimer* HistoryChartRefresh = nullptr;
    FileDialog CsvDialog;
    FileDialog HistoryOpenDialog;

    // The report of the history box as a PDF (src/report/TMainReport.cpp).
    void ConnectReportHandlers();
    // The report of the history box; nothing (and said why) when it holds no reading.
    std::optional<THistoryReportInput> HistoryBoxReport();
    void RaportPdf1Click();
    void DrukujRaport1Click();
    FileDialog ReportDialog;

    // The archive of downloads (src/archive/TMainArchive.cpp).
    void ConnectArchiveHandlers();
    void ArchiwumPobran1Click();
    // Lines chosen in the archive window, into the history box as a saved history is.
    void OpenArchivedHistory(const QStringList& lines, const TDownloadStart& start);
    TArchiveWindow* ArchiveWindow = nullptr;
    // "Historia" -> "Archiwum firmy…": where each finished download is sent.
    void ArchiwumFirmy1Click();
    void UseCompanyArchive(const QString& target);
    QString ArchivePath() const;
    QString ArchiveFolder() const;
    std::unique_ptr<TCompanyLink> CompanyLink; // null while no company archive is set up

    // The line monitor (src/monitor/TMainMonitor.cpp): the session traces only while it is
    // open.
    void ConnectMonitorHandlers();
    void MonitorLacza1Click();
    TLineMonitor* LineMonitor = nullptr;

    void ButtonCzasClick();
    void ButtonRestartClick();
    void ButtonKasujClick();
    void Button_zmiana_haslaClick();
    // The password dialog's host.
    bool SendNewPassword(const QByteArray& password) override;
    void UsePassword(const QString& password) override;
    bool IsLoggedOn() const override;

    // ---- Firmware update (src/firmware/TMainFirmware.cpp) ----
    // Opens the firmware-update dialog, in any state of the window.
    void ButtonFirmwareClick();
    // The firmware dialog's host.
    void StopStatusPoll() override;
    std::optional<QByteArray> ReadFirmwareFile(const QString& path) override;
    bool UpdateFirmware(const QList<FirmwareBlock>& blocks,
                        const std::function<void(int)>& progress) override;

    // Configuration (src/config/TMainConfig*.cpp)
    void SetConfigStartupValues();
    void ConnectConfigHandlers();
    void MarkEdited(TEdit* field);
    // Where the window shows a field of the configuration: its edit control and change
    // handler, and for a raw byte the function that shows it.
    struct ConfigFieldControl {
        ConfigField Field;
        TEdit* TMainControls::*Edit;
        void (TMain::*Changed)();
        void (TMain::*Show)() = nullptr;
    };
    static const ConfigFieldControl& ControlOf(ConfigField field);
    TEdit* ConfigEdit(ConfigField field) const;
    void ShowConfigField(ConfigField field, const ConfigRecord& record);
    void MarkInStep(ConfigField field);

    // Live status, history, recorder commands (src/operations/TMain*.cpp)
    void ConnectHistoryHandlers();
    void ConnectHistoryChartHandlers();
    void ConnectCommandHandlers();
    // The history box's text, every line collected so far in it, line breaks as "\n".
    QString HistoryText();
    // The box ends with a line of a download (or of an opened file), whose line end the file
    // keeps; typed text at its end is saved as typed.
    bool HistoryEndsWithDownloadedLine = false;
    // Where and when the box's readings were downloaded, for their report; none for a file.
    std::optional<TDownloadStart> BoxDownload;
    bool AppendingHistoryLines = false;
    // Paints the history group at most every 40 ms while a download fills it.
    RepaintThrottle* HistoryRepaint = nullptr;

    void ConnectConnectionHandlers();
    // Builds the port table anew and shows in the list what each number stands for.
    void RefreshPortList();
    void DescribeChosenPort();
    // The device COMn stands for now; empty for a name that stands for nothing.
    QString PortPath(const QString& portName) const;
    // The line of detail of a port that could not be opened.
    TPortDirectory Ports;

    // Builds every container and control with its name, caption, hint, limits, colours,
    // geometry and start state (TMainLayout.cpp).
    void CreateControls();
    // Fits the window to its visible contents (the progress panel counts while shown).
    void FitToContents();
    void Oprogramie1Click();

    Desktop& desktop_;
};
