#include "protocol/AnsiCodec.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

const QString PolishLetters = QStringLiteral("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ");
const QByteArray PolishLettersAnsi("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF "
                                   "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");

QByteArray AllBytes() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(static_cast<char>(b));
    return bytes;
}

TEST(AnsiCodec, PolishLettersBothWays) {
    EXPECT_EQ(ToAnsi(PolishLetters), PolishLettersAnsi);
    EXPECT_EQ(FromAnsi(PolishLettersAnsi), PolishLetters);
    EXPECT_TRUE(CanEncodeAnsi(PolishLetters));
}

TEST(AnsiCodec, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_TRUE(CanEncodeAnsi(QChar(u'€')));
    EXPECT_EQ(ToAnsi(QStringLiteral("5€")), QByteArray("5\x80"));
    EXPECT_TRUE(CanEncodeAnsi(QChar(u'?')));

    EXPECT_FALSE(CanEncodeAnsi(QChar(u'→')));
    EXPECT_FALSE(CanEncodeAnsi(QChar(u'À'))); // Latin-1, but not in this code page
    EXPECT_EQ(ToAnsi(QStringLiteral("a→b")), QByteArray("a?b"));
    EXPECT_FALSE(CanEncodeAnsi(QStringLiteral("ok→")));

    // A character outside the BMP is one "?", a lone surrogate too.
    EXPECT_EQ(ToAnsi(QStringLiteral("x😀y")), QByteArray("x?y"));
    EXPECT_FALSE(CanEncodeAnsi(QStringLiteral("😀")));
    EXPECT_EQ(ToAnsi(QString(QChar(0xD800)) + u'z'), QByteArray("?z"));
    EXPECT_EQ(ToAnsi(QString(QChar(0xD800))), QByteArray("?"));
}

TEST(AnsiCodec, EveryByteSurvivesARoundTrip) {
    const QString text = FromAnsi(AllBytes());
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(ToAnsi(text), AllBytes());
    EXPECT_TRUE(CanEncodeAnsi(text));
    // The code page's undefined positions keep their number.
    EXPECT_EQ(FromAnsi(QByteArray("\x81\x98")), QString(QChar(0x81)) + QChar(0x98));
}

TEST(AnsiCodec, LongTextsAndEmptyTexts) {
    EXPECT_TRUE(ToAnsi(QString()).isEmpty());
    EXPECT_TRUE(FromAnsi(QByteArray()).isEmpty());
    const QString longText = PolishLetters.repeated(10000) + QStringLiteral("→");
    const QByteArray expected = PolishLettersAnsi.repeated(10000) + '?';
    EXPECT_EQ(ToAnsi(longText), expected);
}

TEST(AnsiCodec, ConvertsOnSeveralThreadsAtOnce) {
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&failures] {
            for (int i = 0; i < 2000; ++i) {
                if (ToAnsi(PolishLetters + u'→') != PolishLettersAnsi + '?' ||
                    FromAnsi(PolishLettersAnsi) != PolishLetters)
                    ++failures;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
}

} // namespace
