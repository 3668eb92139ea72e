// libFuzzer entry: see CheckFrameAssembly in FuzzChecks.h for what is checked.
#include "FuzzChecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::string problem = CheckFrameAssembly(input); !problem.empty()) {
        std::fprintf(stderr, "CheckFrameAssembly: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
