#pragma once

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// The body of a libFuzzer entry: runs `check` on the input and aborts with its finding, so
// the fuzzer keeps the input as a crash.
inline int RunFuzzCheck(const char* name, std::string (*check)(const QByteArray&),
                        const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::string problem = check(input); !problem.empty()) {
        std::fprintf(stderr, "%s: %s\n", name, problem.c_str());
        std::abort();
    }
    return 0;
}
