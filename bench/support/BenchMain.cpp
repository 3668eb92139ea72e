#include "BenchMain.h"

#include "app/TApplication.h"

#include <cstdio>
#include <exception>

int RunBench(int argc, char** argv,
             const std::function<void(const BenchOptions&, BenchOutput&)>& body) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    try {
        const BenchOptions options = BenchOptions::Parse(argc, argv);
        int appArgc = 1;
        TApplication app(appArgc, argv);
        BenchOutput output(options);
        body(options, output);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
}
