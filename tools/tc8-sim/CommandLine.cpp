#include "CommandLine.h"

#include <charconv>
#include <stdexcept>

namespace tc8sim {

namespace {

class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    bool Done() const { return next_ >= arguments_.size(); }
    const std::string& Next() { return arguments_[next_++]; }

    std::string Value(const std::string& option) {
        if (Done())
            throw std::invalid_argument(option + " needs a value");
        return Next();
    }

    long long Number(const std::string& option, long long low, long long high) {
        const std::string text = Value(option);
        long long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
            throw std::invalid_argument(option + " takes a number from " + std::to_string(low) +
                                        " to " + std::to_string(high) + ", not \"" + text + "\"");
        return value;
    }

private:
    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
};

std::uint8_t VersionChar(const std::string& text) {
    if (text.size() == 1)
        return static_cast<std::uint8_t>(text[0]);
    if (text.size() > 2 && text.size() <= 4 && text.starts_with("0x")) {
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
        if (error == std::errc() && end == text.data() + text.size() && value <= 0xFF)
            return static_cast<std::uint8_t>(value);
    }
    throw std::invalid_argument(
        "--version-char takes one character or a byte such as 0x35, not \"" + text + "\"");
}

} // namespace

CommandLine CommandLine::Parse(const std::vector<std::string>& arguments) {
    CommandLine line;
    SimulatedRecorder::Settings& settings = line.Settings;
    ArgumentReader reader(arguments);
    while (!reader.Done()) {
        const std::string option = reader.Next();
        if (option == "--port")
            settings.PortNumber = static_cast<int>(reader.Number(option, 1, 99));
        else if (option == "--device")
            settings.DevicePath = reader.Value(option);
        else if (option == "--unpaced")
            settings.Paced = false;
        else if (option == "--password")
            settings.Recorder.Password = QByteArray::fromStdString(reader.Value(option));
        else if (option == "--version-char")
            settings.Recorder.VersionChar = VersionChar(reader.Value(option));
        else if (option == "--records")
            settings.Recorder.HistoryRecords = static_cast<int>(reader.Number(option, 0, 100000));
        else if (option == "--drop")
            settings.Faults.DropPercent = static_cast<int>(reader.Number(option, 0, 100));
        else if (option == "--corrupt")
            settings.Faults.CorruptPercent = static_cast<int>(reader.Number(option, 0, 100));
        else if (option == "--split")
            settings.Faults.Split = true;
        else if (option == "--glue")
            settings.Faults.Glue = true;
        else if (option == "--delay")
            settings.Faults.Delay = std::chrono::milliseconds(reader.Number(option, 0, 600000));
        else if (option == "--silent")
            settings.Faults.Silent = true;
        else if (option == "--refuse")
            settings.Faults.RefusePasswords = true;
        else if (option == "--restart-silence")
            settings.Recorder.RestartSilence = SimTime(reader.Number(option, 0, 600000));
        else if (option == "--seed")
            settings.Recorder.Seed = static_cast<unsigned>(reader.Number(option, 0, 4294967295LL));
        else if (option == "--quiet")
            line.Quiet = true;
        else if (option == "--help" || option == "-h")
            line.Help = true;
        else
            throw std::invalid_argument("unknown option \"" + option + "\"");
    }
    return line;
}

std::string CommandLine::Usage() {
    return "Usage: tc8-sim [options]\n"
           "Plays a TC-8 temperature recorder on a serial line.\n"
           "\n"
           "Line:\n"
           "  --port N             publish a pseudo-terminal as COMN (default 1) in\n"
           "                       $XDG_DATA_HOME/tc8-configurator/ports\n"
           "  --device PATH        use this serial device instead (e.g. a null-modem cable)\n"
           "  --unpaced            send as fast as possible instead of at 4800 bit/s\n"
           "Recorder:\n"
           "  --password TEXT      logon password (default 0157)\n"
           "  --version-char C     firmware version character, e.g. 5 or 0x35 (default 5)\n"
           "  --records N          stored history records (default 200)\n"
           "  --restart-silence MS time in the boot loader after a restart (default 4000)\n"
           "Faults:\n"
           "  --drop PCT           drop this share of the replies\n"
           "  --corrupt PCT        corrupt this share of the replies\n"
           "  --split              write replies in several pieces with short pauses\n"
           "  --glue               write two replies at once where two are ready\n"
           "  --delay MS           wait this long before replying\n"
           "  --silent             never reply\n"
           "  --refuse             refuse every password\n"
           "  --seed N             seed for the faults and the measurements (default 1)\n"
           "Other:\n"
           "  --quiet              no trace of the frames on stderr\n"
           "  --help               this text\n";
}

} // namespace tc8sim
