#pragma once

#include <QByteArray>
#include <chrono>

namespace tc8sim {

// Misbehaviour of the simulated recorder, changeable while it runs.
struct FaultOptions {
    int DropPercent = 0;                // share of replies never sent
    int CorruptPercent = 0;             // share of replies sent with one byte changed
    bool Split = false;                 // replies written in several pieces with short pauses
    bool Glue = false;                  // two replies written as one piece where two are ready
    std::chrono::milliseconds Delay{0}; // pause before the replies to each request
    bool Silent = false;                // nothing is ever sent
    bool RefusePasswords = false;       // every logon is refused

    // One-shot faults for tests, used up by the next replies: so many replies dropped, so
    // many corrupted, and these bytes written in the same piece just before the next reply.
    int DropNext = 0;
    int CorruptNext = 0;
    QByteArray PrefixNext;
};

} // namespace tc8sim
