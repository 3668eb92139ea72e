#include "CommandLine.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace tc8sim {
namespace {

TEST(CommandLine, DefaultsPlayAPacedRecorderOnCom1) {
    const CommandLine line = CommandLine::Parse({});
    EXPECT_EQ(line.Settings.PortNumber, 1);
    EXPECT_TRUE(line.Settings.Paced);
    EXPECT_EQ(line.Settings.Recorder.Password, QByteArray("0157"));
    EXPECT_FALSE(line.Quiet);
}

TEST(CommandLine, OptionsReachTheSettings) {
    const CommandLine line = CommandLine::Parse({"--port",    "4",
                                                 "--unpaced", "--password",
                                                 "1111",      "--version-char",
                                                 "0x3A",      "--records",
                                                 "7",         "--drop",
                                                 "10",        "--corrupt",
                                                 "20",        "--split",
                                                 "--glue",    "--delay",
                                                 "300",       "--silent",
                                                 "--refuse",  "--restart-silence",
                                                 "2500",      "--seed",
                                                 "9",         "--quiet"});
    const auto& s = line.Settings;
    EXPECT_EQ(s.PortNumber, 4);
    EXPECT_FALSE(s.Paced);
    EXPECT_EQ(s.Recorder.Password, QByteArray("1111"));
    EXPECT_EQ(s.Recorder.VersionChar, 0x3A);
    EXPECT_EQ(s.Recorder.HistoryRecords, 7);
    EXPECT_EQ(s.Faults.DropPercent, 10);
    EXPECT_EQ(s.Faults.CorruptPercent, 20);
    EXPECT_TRUE(s.Faults.Split && s.Faults.Glue && s.Faults.Silent && s.Faults.RefusePasswords);
    EXPECT_EQ(s.Faults.Delay.count(), 300);
    EXPECT_EQ(s.Recorder.RestartSilence.count(), 2500);
    EXPECT_EQ(s.Recorder.Seed, 9u);
    EXPECT_TRUE(line.Quiet);
    EXPECT_EQ(CommandLine::Parse({"--version-char", "7"}).Settings.Recorder.VersionChar, '7');
}

TEST(CommandLine, BadArgumentsAreRefused) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--port"},
                                               {"--port", "0"},
                                               {"--drop", "101"},
                                               {"--records", "ten"},
                                               {"--version-char", "55"},
                                               {"--bogus"}})
        EXPECT_THROW(CommandLine::Parse(arguments), std::invalid_argument) << arguments[0];
}

} // namespace
} // namespace tc8sim
