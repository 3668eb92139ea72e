#pragma once

#include <chrono>

namespace tc8sim {

// The recorder model's notion of time: milliseconds since the simulator started. The model
// never reads a clock itself; whoever drives it passes the time in, so tests can run it at
// any pace they like.
using SimTime = std::chrono::milliseconds;

} // namespace tc8sim
