#pragma once

#include "BenchOptions.h"

#include <QFile>
#include <QString>
#include <memory>

// Where a benchmark program puts what it measured: one line "RESULT <key> <value>" on
// standard output per figure and run (run.sh collects them, the report takes medians), and
// data files for the plot in the output folder.
class BenchOutput {
public:
    explicit BenchOutput(const BenchOptions& options) : options_(options) {}

    void Figure(const QString& key, double value);
    // A new data file in the output folder, opened for writing (replacing an old one).
    std::unique_ptr<QFile> DataFile(const QString& name) const;

private:
    BenchOptions options_;
};
