#include "BenchOptions.h"

#include <stdexcept>
#include <string>

BenchOptions BenchOptions::Parse(int argc, char** argv) {
    BenchOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--runs" && hasValue) {
            options.Runs = std::stoi(argv[++i]);
            if (options.Runs < 1)
                throw std::invalid_argument("--runs needs a count of at least 1");
        } else if (option == "--out" && hasValue) {
            options.OutDir = QString::fromLocal8Bit(argv[++i]);
        } else if (option == "--only" && hasValue) {
            options.Only = QString::fromLocal8Bit(argv[++i]);
        } else if (option == "--quick") {
            options.Quick = true;
        } else {
            throw std::invalid_argument("unknown option \"" + option +
                                        "\" (use --runs N, --out DIR, --quick, --only KEY)");
        }
    }
    return options;
}
