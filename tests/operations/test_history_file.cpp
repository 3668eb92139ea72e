#include "operations/HistoryFile.h"

#include <gtest/gtest.h>

namespace {

TEST(HistoryFile, EveryLineEndsWithCrLfTheLastOneToo) {
    const QString text =
        QStringLiteral("data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0\nKoniec historii");
    EXPECT_EQ(HistoryFileBytes(text),
              QByteArray("data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0\r\n"
                         "Koniec historii\r\n"));
}

TEST(HistoryFile, EmptyBoxAndTrailingNewline) {
    EXPECT_EQ(HistoryFileBytes(QString()), QByteArray());
    EXPECT_EQ(HistoryFileBytes("a\n"), QByteArray("a\r\n"));
    EXPECT_EQ(HistoryFileBytes("\n"), QByteArray("\r\n"));
    EXPECT_EQ(HistoryFileBytes("a\n\nb"), QByteArray("a\r\n\r\nb\r\n"));
}

TEST(HistoryFile, TypedTextInTheCodePage) {
    EXPECT_EQ(HistoryFileBytes(QStringLiteral("Łódź → 5°")), QByteArray("\xA3\xF3"
                                                                        "d\x9F ? 5\xB0\r\n"));
}

} // namespace
