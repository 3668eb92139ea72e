#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>

// A PDF file's text as a reader finds it (pdftotext -layout, from poppler-utils), each run
// of spaces made one; its pages are separated by form feeds.
inline QString PdfText(const QString& path) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_TRUE(text.waitForFinished(60000)) << "pdftotext (poppler-utils) is needed";
    return QString::fromUtf8(text.readAllStandardOutput())
        .replace(QRegularExpression(QStringLiteral("[ \t]+")), QStringLiteral(" "));
}
