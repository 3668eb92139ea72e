#pragma once

#include <chrono>

// CPU time (user and system) used so far by the whole process, or by the calling thread.
std::chrono::nanoseconds ProcessCpuTime();
std::chrono::nanoseconds ThreadCpuTime();

// Context switches (voluntary and forced) so far of the whole process, or of the calling
// thread.
long ProcessContextSwitches();
long ThreadContextSwitches();
