#include "SerialTestApp.h"

#include <gtest/gtest.h>

#if defined(__SANITIZE_THREAD__)
// Qt is not built with ThreadSanitizer and its mutexes are futexes the sanitizer cannot
// see, so the queued call that a background thread posts (allocated by Qt in that thread,
// freed by Qt in the owner thread after it ran) looks unsynchronised. Only accesses made
// inside Qt's posting are excused; the component's own state stays checked.
extern "C" const char* __tsan_default_suppressions() {
    return "race:QMetaMethod::invoke\n"
           "race:QCoreApplication::postEvent\n";
}
#endif

int main(int argc, char** argv) {
    TSerialTestApp app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
