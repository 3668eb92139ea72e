#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace {

struct RejectedLine {
    const char* name;
    QStringList arguments;
    const char* because;
};

class RejectedCommandLine : public ::testing::TestWithParam<RejectedLine> {};

TEST_P(RejectedCommandLine, IsWrongUsageSaidInOneLine) {
    const ParsedCommandLine parsed = ParseCommandLine(GetParam().arguments);
    EXPECT_TRUE(parsed.Error.contains(QString::fromUtf8(GetParam().because)))
        << parsed.Error.toStdString();
    EXPECT_FALSE(parsed.Error.contains(u'\n'));
}

INSTANTIATE_TEST_SUITE_P(
    Cli, RejectedCommandLine,
    ::testing::Values(
        RejectedLine{"NoCommand", {"-v"}, "Nie podano polecenia"},
        RejectedLine{"UnknownCommand", {"download"}, "Nieznane polecenie „download”"},
        RejectedLine{"UnknownOption", {"status", "--follow"}, "Nieznana opcja „--follow”"},
        RejectedLine{"ConfigWithoutWhat", {"config"}, "wymaga jednego z: read, write, show"},
        RejectedLine{"MissingFile", {"config", "write"}, "wymaga argumentu PLIK.rcf"},
        RejectedLine{"ExtraArgument", {"restart", "now"}, "Nadmiarowy argument „now”"},
        RejectedLine{"OptionOfAnotherCommand", {"status", "-o", "x"}, "Opcja -o nie dotyczy"},
        RejectedLine{"OptionWithoutValue", {"status", "-p"}, "Opcja -p wymaga wartości"},
        RejectedLine{"OptionWithAnEmptyValue",
                     {"report", "-o", "r.pdf", "--from-file=", "--config", "c.rcf"},
                     "Opcja --from-file wymaga wartości"},
        RejectedLine{"FlagWithValue", {"status", "--json=1"}, "nie przyjmuje wartości"},
        RejectedLine{"PortNeitherNumberNorPath", {"status", "-p", "COM9"}, "Nieznany port „COM9”"},
        RejectedLine{"LogonPasswordNotFourDigits", {"status", "--password", "157"}, "cztery cyfry"},
        RejectedLine{"NewPasswordNotFourDigits", {"password", "12a4"}, "cztery cyfry"},
        RejectedLine{"UnknownFormat", {"history", "--format", "xml"}, "Nieznany format „xml”"},
        RejectedLine{"TimeNotAsAsked",
                     {"clock", "set", "--at", "2026-13-01 00:00:00"},
                     "Nieprawidłowy czas"},
        RejectedLine{"ReportWithoutFile", {"report", "--archive", "1"}, "wymaga -o PLIK.pdf"},
        RejectedLine{"ReportOfTwoSources",
                     {"report", "-o", "r.pdf", "--archive", "1", "--from-file", "h.txt"},
                     "jedno źródło"},
        RejectedLine{"ReportOfAFileWithoutItsConfiguration",
                     {"report", "-o", "r.pdf", "--from-file", "h.txt"},
                     "wymaga --config PLIK.rcf"},
        RejectedLine{"ConfigurationWithoutAFile",
                     {"report", "-o", "r.pdf", "--config", "c.rcf"},
                     "dotyczy tylko raportu z pliku"},
        RejectedLine{"ArchiveNumberNotANumber",
                     {"report", "-o", "r.pdf", "--archive", "ostatnie"},
                     "Nieprawidłowy numer pobrania"},
        RejectedLine{
            "DelayOverAWeek", {"report", "-o", "r.pdf", "--delay", "10081"}, "od 0 do 10080"},
        RejectedLine{"CompanyReportOfNoDownload",
                     {"report", "-o", "r.pdf", "--from", "service=firma"},
                     "dotyczy tylko raportu z archiwum"},
        RejectedLine{"PushWithoutWhere", {"archive", "push"}, "wymaga --to ADRES"},
        RejectedLine{"PasswordInTheAddress",
                     {"archive", "push", "--to", "postgresql://jan:tajne@db/firma"},
                     "hasło nie może być w adresie"},
        RejectedLine{"ExportOfNothing", {"archive", "export"}, "--archive NR albo --recorder"},
        RejectedLine{"ExportOfANumberInAPeriod",
                     {"archive", "export", "--archive", "3", "--since", "2026-01-01"},
                     "pobranie jest już wybrane"},
        RejectedLine{"PeriodBackwards",
                     {"archive", "list", "--since", "2026-12-02", "--until", "2026-12-01"},
                     "Okres jest pusty"},
        RejectedLine{"DayNotAsAsked",
                     {"archive", "list", "--until", "31.12.2026"},
                     "Nieprawidłowa data „31.12.2026”"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliCommandLine, TakesOptionsAnywhereAndTheEnvironmentsPasswordBelowTheOption) {
    const ParsedCommandLine history = ParseCommandLine(
        {"-v", "history", "--format=csv", "-p", "/dev/ttyUSB0", "-o", "h.csv"}, "1111");
    ASSERT_TRUE(history.Error.isEmpty()) << history.Error.toStdString();
    EXPECT_EQ(history.Options.Command, CliCommand::History);
    EXPECT_EQ(history.Options.Format, HistoryFormat::Csv);
    EXPECT_EQ(history.Options.PortNumber(), 0);
    EXPECT_EQ(history.Options.Output, QStringLiteral("h.csv"));
    EXPECT_EQ(history.Options.Password, QStringLiteral("1111"));
    EXPECT_TRUE(history.Options.Verbose);

    const ParsedCommandLine clock = ParseCommandLine(
        {"clock", "set", "--password", "2222", "--at", "2026-12-07 01:30:05", "--port=COM3"},
        "1111");
    ASSERT_TRUE(clock.Error.isEmpty()) << clock.Error.toStdString();
    EXPECT_EQ(clock.Options.Command, CliCommand::ClockSet);
    EXPECT_EQ(clock.Options.Password, QStringLiteral("2222"));
    EXPECT_EQ(clock.Options.At, QDateTime(QDate(2026, 12, 7), QTime(1, 30, 5)));
    EXPECT_EQ(clock.Options.PortNumber(), 3);

    const ParsedCommandLine year =
        ParseCommandLine({"archive", "export", "--recorder", "TC-8 : Chłodnia", "--since",
                          "2026-01-01", "--until=2026-12-31", "--from", "service=firma"});
    ASSERT_TRUE(year.Error.isEmpty()) << year.Error.toStdString();
    EXPECT_EQ(year.Options.Command, CliCommand::ArchiveExport);
    EXPECT_EQ(year.Options.Company, QStringLiteral("service=firma"));
    EXPECT_EQ(year.Options.Recorder, QStringLiteral("TC-8 : Chłodnia"));
    EXPECT_EQ(year.Options.Since, QDate(2026, 1, 1));
    EXPECT_EQ(year.Options.Until, QDate(2026, 12, 31));

    EXPECT_EQ(ParseCommandLine({"status"}).Options.Password, QStringLiteral("0157"));
    using Commands = QList<CliCommand>;
    EXPECT_EQ(ParseCommandLine({"help", "history", "clear"}).Options.HelpFor,
              Commands{CliCommand::HistoryClear});
    EXPECT_EQ(ParseCommandLine({"firmware", "--help"}).Options.HelpFor,
              Commands{CliCommand::Firmware});
    EXPECT_EQ(ParseCommandLine({"help", "clock"}).Options.HelpFor,
              (Commands{CliCommand::Clock, CliCommand::ClockSet}));
    EXPECT_EQ(ParseCommandLine({"config", "--help"}).Options.HelpFor,
              (Commands{CliCommand::ConfigRead, CliCommand::ConfigWrite, CliCommand::ConfigShow}));
}

} // namespace
