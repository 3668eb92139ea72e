#pragma once

#include <QString>

// What every benchmark program takes on its command line:
//   --runs N    measured repetitions (the report takes their median)
//   --out DIR   where data files for the plot go
//   --quick     short durations, for trying the programs out; not for the record
//   --only KEY  only the measurements whose figures' keys start with KEY (say
//               "history.unpaced"), where a program can tell them apart
struct BenchOptions {
    int Runs = 3;
    QString OutDir = QStringLiteral(".");
    bool Quick = false;
    QString Only;

    // Whether the measurement giving the figures under `key` is to run.
    bool Wants(const QString& key) const { return Only.isEmpty() || key.startsWith(Only); }

    // Throws std::invalid_argument on an unknown option or a bad value.
    static BenchOptions Parse(int argc, char** argv);
};
