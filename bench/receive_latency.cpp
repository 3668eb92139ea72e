// Receive latency: from the recorder's end writing the last byte of an answer frame to the
// receiver holding it as a frame, over a pseudo-terminal, and the receiver's CPU time per
// frame (in all, and of it the user-interface thread's). Three receivers take the same
// stream in turn, in every run:
//   window      the main window: TRsComm, RsCommRxChar, frame assembly, up to the top of
//               DispatchResponse (seen through the desktop's event pump, its first step);
//   trscomm     the serial component alone: OnRxChar, ReadText, the same frame assembly;
//   qserialport Qt's QSerialPort: readyRead, readAll, the same frame assembly.
#include "BenchClock.h"
#include "BenchDesktop.h"
#include "BenchMain.h"
#include "CpuTime.h"
#include "FrameFeed.h"
#include "LineEndpoint.h"
#include "MainAccess.h"
#include "PortLink.h"
#include "PrivatePortsFolder.h"
#include "Stats.h"
#include "protocol/FrameAssembler.h"
#include "serial/TRsComm.h"
#include "ui/TMain.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSerialPort>
#include <QTextStream>
#include <QWindow>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

// What one receiver took over some frames; blocks of frames add up.
struct Measured {
    std::vector<double> LatenciesUs;
    double CpuUs = 0;
    double MainCpuUs = 0; // of it, the receiver's (user-interface) thread
    double Switches = 0;
    int Frames = 0;
    int Lost = 0;

    void Add(const Measured& block) {
        LatenciesUs.insert(LatenciesUs.end(), block.LatenciesUs.begin(), block.LatenciesUs.end());
        CpuUs += block.CpuUs;
        MainCpuUs += block.MainCpuUs;
        Switches += block.Switches;
        Frames += block.Frames;
        Lost += block.Lost;
    }
    double PerFrame(double total) const { return Frames > 0 ? total / Frames : 0; }
};

// Runs the feed against a receiver that `open` has set up on the line's far end, pumping
// events until the last frame is through.
Measured Measure(const tc8sim::LineEndpoint& line, int frames,
                 const std::function<std::function<void()>(FrameFeed&)>& open) {
    FrameFeed feed(line.Fd(), frames);
    const std::function<void()> close = open(feed);
    QEventLoop loop;
    const std::chrono::nanoseconds startCpu = ProcessCpuTime();
    const std::chrono::nanoseconds startMainCpu = ThreadCpuTime();
    const long startSwitches = ProcessContextSwitches();
    feed.Start(
        [&loop] { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); });
    loop.exec();
    feed.Join();
    const std::chrono::nanoseconds usedCpu = ProcessCpuTime() - startCpu - feed.OwnCpuTime();
    const std::chrono::nanoseconds usedMainCpu = ThreadCpuTime() - startMainCpu;
    const long switches = ProcessContextSwitches() - startSwitches - feed.OwnContextSwitches();
    close();
    Measured measured;
    measured.LatenciesUs = feed.LatenciesUs();
    measured.Lost = feed.Lost();
    measured.CpuUs = static_cast<double>(usedCpu.count()) / 1000.0;
    measured.MainCpuUs = static_cast<double>(usedMainCpu.count()) / 1000.0;
    measured.Switches = static_cast<double>(switches);
    measured.Frames = frames;
    return measured;
}

Measured MeasureWindow(const PrivatePortsFolder& ports, int frames) {
    const tc8sim::LineEndpoint line = tc8sim::LineEndpoint::OpenPseudoTerminal();
    const tc8sim::PortLink link(ports.Path(), 1, line.PeerPath());
    BenchDesktop desktop;
    TMain window(desktop);
    // Painted first: the first paint of every control is no cost of receiving.
    window.show();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return Measure(line, frames, [&](FrameFeed& feed) {
        desktop.OnProcessMessages = [&] {
            if (Inside(window).ResponseCode == FrameFeed::Code)
                feed.Seen(Inside(window).ResponsePayload);
        };
        Inside(window).RsComm->Open(); // COM1, the window's port from its start
        return [&] {
            Inside(window).RsComm->Close();
            desktop.OnProcessMessages = nullptr;
        };
    });
}

Measured MeasureTRsComm(int frames) {
    const tc8sim::LineEndpoint line = tc8sim::LineEndpoint::OpenPseudoTerminal();
    TRsComm comm;
    FrameAssembler assembler;
    comm.SetDeviceName(QString::fromStdString(line.PeerPath()));
    comm.SetBaudrate(br4800);
    return Measure(line, frames, [&](FrameFeed& feed) {
        comm.OnRxChar = [&](TRsCustomComm& sender, int) {
            for (const ResponseFrame& frame : assembler.Feed(sender.ReadText()))
                if (frame.Code == FrameFeed::Code)
                    feed.Seen(frame.Payload);
        };
        comm.Open();
        return [&] { comm.Close(); };
    });
}

Measured MeasureQSerialPort(int frames) {
    const tc8sim::LineEndpoint line = tc8sim::LineEndpoint::OpenPseudoTerminal();
    QSerialPort port;
    FrameAssembler assembler;
    port.setPortName(QString::fromStdString(line.PeerPath()));
    return Measure(line, frames, [&](FrameFeed& feed) {
        QObject::connect(&port, &QSerialPort::readyRead, &port, [&] {
            for (const ResponseFrame& frame : assembler.Feed(port.readAll()))
                if (frame.Code == FrameFeed::Code)
                    feed.Seen(frame.Payload);
        });
        if (!port.open(QIODevice::ReadWrite) || !port.setBaudRate(QSerialPort::Baud4800) ||
            !port.setDataBits(QSerialPort::Data8) || !port.setParity(QSerialPort::NoParity) ||
            !port.setStopBits(QSerialPort::OneStop) ||
            !port.setFlowControl(QSerialPort::NoFlowControl))
            throw std::runtime_error("QSerialPort: " + port.errorString().toStdString());
        return [&] { port.close(); };
    });
}

} // namespace

int main(int argc, char** argv) {
    return RunBench(argc, argv, [](const BenchOptions& options, BenchOutput& output) {
        // Each receiver takes its frames in blocks, and the receivers take turns block by
        // block, each block starting with the next one, so that a slow spell of the (virtual)
        // machine, and whatever the receiver before leaves behind, falls on all of them alike.
        const int blocks = 10;
        const int blockFrames = options.Quick ? 100 : 1000;
        const PrivatePortsFolder ports;
        const std::vector<std::pair<QString, std::function<Measured(int)>>> receivers{
            {QStringLiteral("window"), [&](int frames) { return MeasureWindow(ports, frames); }},
            {QStringLiteral("trscomm"), [](int frames) { return MeasureTRsComm(frames); }},
            {QStringLiteral("qserialport"), [](int frames) { return MeasureQSerialPort(frames); }},
        };
        std::map<QString, std::vector<double>> allLatencies;
        for (int run = 0; run < options.Runs; ++run) {
            std::map<QString, Measured> taken;
            for (int block = 0; block < blocks; ++block) {
                for (std::size_t turn = 0; turn < receivers.size(); ++turn) {
                    const auto& [name, measure] = receivers[(block + turn) % receivers.size()];
                    taken[name].Add(measure(blockFrames));
                }
            }
            for (const auto& [name, measure] : receivers) {
                const Measured& measured = taken[name];
                const QString key = QStringLiteral("receive.") + name;
                output.Figure(key + QStringLiteral(".median_us"), Median(measured.LatenciesUs));
                output.Figure(key + QStringLiteral(".p99_us"),
                              Percentile(measured.LatenciesUs, 99));
                output.Figure(key + QStringLiteral(".cpu_us_per_frame"),
                              measured.PerFrame(measured.CpuUs));
                output.Figure(key + QStringLiteral(".main_cpu_us_per_frame"),
                              measured.PerFrame(measured.MainCpuUs));
                output.Figure(key + QStringLiteral(".other_cpu_us_per_frame"),
                              measured.PerFrame(measured.CpuUs - measured.MainCpuUs));
                output.Figure(key + QStringLiteral(".switches_per_frame"),
                              measured.PerFrame(measured.Switches));
                output.Figure(key + QStringLiteral(".lost"), measured.Lost);
                std::vector<double>& all = allLatencies[name];
                all.insert(all.end(), measured.LatenciesUs.begin(), measured.LatenciesUs.end());
            }
        }
        // The distribution over all runs, as percentiles 0.1 to 99.9, for the plot.
        const auto file = output.DataFile(QStringLiteral("receive_latency.dat"));
        QTextStream data(file.get());
        data << "# percent window_us trscomm_us qserialport_us\n";
        for (int step = 1; step <= 999; ++step) {
            const double percent = step / 10.0;
            data << percent;
            for (const auto& [name, measure] : receivers)
                data << ' ' << Percentile(allLatencies[name], percent);
            data << '\n';
        }
    });
}
