// libFuzzer entry: see CheckFrameAssembly in FuzzChecks.h for what is checked.
#include "FuzzChecks.h"
#include "FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return RunFuzzCheck("CheckFrameAssembly", CheckFrameAssembly, data, size);
}
