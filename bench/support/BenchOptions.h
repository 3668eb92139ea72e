#pragma once

#include <QString>

// What every benchmark program takes on its command line:
//   --runs N    measured repetitions (the report takes their median)
//   --out DIR   where data files for the plot go
//   --quick     short durations, for trying the programs out; not for the record
struct BenchOptions {
    int Runs = 3;
    QString OutDir = QStringLiteral(".");
    bool Quick = false;

    // Throws std::invalid_argument on an unknown option or a bad value.
    static BenchOptions Parse(int argc, char** argv);
};
