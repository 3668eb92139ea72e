#include "operations/HistoryFile.h"

#include <gtest/gtest.h>

namespace {

TEST(HistoryFile, EveryLineOfADownloadEndsWithCrLfTheLastOneToo) {
    const QString text =
        QStringLiteral("data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0\nKoniec historii");
    EXPECT_EQ(HistoryFileBytes(text, HistoryTextEnd::LineOfDownload),
              QByteArray("data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0\r\n"
                         "Koniec historii\r\n"));
}

TEST(HistoryFile, TypedTextIsSavedAsTyped) {
    EXPECT_EQ(HistoryFileBytes(QString(), HistoryTextEnd::Typed), QByteArray());
    EXPECT_EQ(HistoryFileBytes("abc", HistoryTextEnd::Typed), QByteArray("abc"));
    EXPECT_EQ(HistoryFileBytes("a\n", HistoryTextEnd::Typed), QByteArray("a\r\n"));
    EXPECT_EQ(HistoryFileBytes("\n", HistoryTextEnd::Typed), QByteArray("\r\n"));
    EXPECT_EQ(HistoryFileBytes("a\n\nb", HistoryTextEnd::Typed), QByteArray("a\r\n\r\nb"));
}

TEST(HistoryFile, TypedTextInTheCodePage) {
    EXPECT_EQ(HistoryFileBytes(QStringLiteral("Łódź → 5°"), HistoryTextEnd::Typed),
              QByteArray("\xA3\xF3"
                         "d\x9F ? 5\xB0"));
}

} // namespace
