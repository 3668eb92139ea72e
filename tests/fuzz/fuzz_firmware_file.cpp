// libFuzzer entry: see CheckFirmwareFile in FuzzChecks.h for what is checked.
#include "FuzzChecks.h"
#include "FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return RunFuzzCheck("CheckFirmwareFile", CheckFirmwareFile, data, size);
}
