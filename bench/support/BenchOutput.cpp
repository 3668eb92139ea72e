#include "BenchOutput.h"

#include <QDir>
#include <cstdio>
#include <stdexcept>

void BenchOutput::Figure(const QString& key, double value) {
    std::printf("RESULT\t%s\t%.6g\n", key.toUtf8().constData(), value);
    std::fflush(stdout);
}

std::unique_ptr<QFile> BenchOutput::DataFile(const QString& name) const {
    QDir().mkpath(options_.OutDir);
    auto file = std::make_unique<QFile>(QDir(options_.OutDir).filePath(name));
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw std::runtime_error("cannot write " + file->fileName().toStdString());
    return file;
}
