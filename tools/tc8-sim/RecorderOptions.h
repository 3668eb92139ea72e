#pragma once

#include "SimTime.h"

#include <QByteArray>
#include <QDateTime>
#include <cstdint>

namespace tc8sim {

// How a simulated recorder starts out.
struct RecorderOptions {
    QByteArray Password = "0157";
    // Second byte of the logon answer; the configurator shows "TC-8 v 1.5" for "5".
    std::uint8_t VersionChar = '5';
    int HistoryRecords = 200;
    // How long the recorder stays in its boot loader after a restart, counted from the
    // restart or from the last firmware block received.
    SimTime RestartSilence{4000};
    unsigned Seed = 1;
    // The recorder's clock at time 0; when invalid, the PC's local time is taken.
    QDateTime StartClock;
};

} // namespace tc8sim
