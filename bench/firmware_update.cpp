// Firmware update of a 16,380-byte image (128 blocks) through the real window, its dialog
// and serial component, to the simulated recorder's boot loader on a pseudo-terminal. The
// recorder sends at the pace of the 4800 bit/s line and holds each acknowledgement for the
// wire time of the 133-byte block frame it acknowledges, so the line is as slow both ways as
// a real one. Figure: the wall time from "START" until the dialog has closed, divided by the
// wire time of every frame and acknowledgement plus the transfer's fixed pauses (2 s after
// the restart, 2 s before the finish, 1 s before closing).
#include "BenchClock.h"
#include "BenchMain.h"
#include "MainAccess.h"
#include "RecorderSession.h"
#include "WireTime.h"
#include "config/Container.h"
#include "firmware/TFboot.h"
#include "serial/TRsComm.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <stdexcept>

namespace {

constexpr int ImageSize = 16380;
constexpr int Blocks = (ImageSize + 127) / 128;
constexpr int BlockFrameBytes = 4 + 129;
// The restart and finish requests (4 + 1 bytes each), the blocks, one "!" per block.
constexpr int LineBytes = 5 + Blocks * BlockFrameBytes + 5 + Blocks;
constexpr double FixedPausesSeconds = 2.0 + 2.0 + 1.0;

QString WriteFirmwareFile(const QTemporaryDir& folder) {
    QByteArray image;
    for (int i = 0; i < ImageSize; ++i)
        image.append(static_cast<char>((i * 7) % 251));
    const QString path = folder.filePath(QStringLiteral("firmware.rfr"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(BuildContainer(FirmwareFileTag, image)) != ImageSize + 4)
        throw std::runtime_error("cannot write the firmware file");
    return path;
}

} // namespace

int main(int argc, char** argv) {
    return RunBench(argc, argv, [](const BenchOptions& options, BenchOutput& output) {
        const QTemporaryDir folder;
        const QString firmware = WriteFirmwareFile(folder);
        tc8sim::SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
        settings.Paced = true;
        settings.Faults.Delay = std::chrono::milliseconds(
            static_cast<int>(std::lround(WireSeconds(BlockFrameBytes) * 1000)));
        settings.Recorder.RestartSilence = std::chrono::minutes(5);
        RecorderSession session(std::move(settings));
        TMain& window = *session.window;
        Inside(window).SetTickIntervalForTests(100); // the program's own tick
        window.show();

        const int runs = options.Quick ? 1 : options.Runs;
        for (int run = 0; run < runs; ++run) {
            Inside(window).RsComm->Open(); // closed again after each update's end
            std::int64_t startNs = 0;
            std::int64_t endNs = 0;
            session.desktop.FileAnswers.push_back(firmware);
            session.desktop.ModalScripts.push_back([&](QDialog& shown) {
                auto& dialog = static_cast<TFboot&>(shown);
                dialog.Button1->click();
                startNs = NowNs();
                dialog.ButtonStart->click(); // the whole transfer; the dialog closes at its end
                endNs = NowNs();
            });
            session.desktop.Log.clear();
            window.ButtonFirmware->click();
            const tc8sim::RecorderState recorder = session.Recorder();
            if (!session.desktop.Log.contains(
                    QStringLiteral("Information: Aktualizacja zakonczona")) ||
                recorder.FirmwareBlocks.size() != static_cast<std::size_t>(Blocks) ||
                recorder.FirmwareAccepted != true)
                throw std::runtime_error("the firmware update did not succeed");
            const double wall = static_cast<double>(endNs - startNs) / 1e9;
            const double ideal = WireSeconds(LineBytes) + FixedPausesSeconds;
            output.Figure(QStringLiteral("firmware.wall_s"), wall);
            output.Figure(QStringLiteral("firmware.ideal_s"), ideal);
            output.Figure(QStringLiteral("firmware.ratio"), wall / ideal);
            Inside(window).RsComm->Close();
        }
    });
}
