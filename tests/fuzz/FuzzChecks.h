#pragma once

#include <QByteArray>
#include <string>

// The properties the fuzz targets check, one function per target. Each takes arbitrary
// bytes and returns an empty string when every property held, else what went wrong. The
// fuzzers abort on a non-empty answer; the corpus test replays the saved inputs through the
// same functions.

// The first byte picks the assembler (bit 0 set: the recorder's side, reading requests);
// the rest is a sequence of deliveries, each a length byte and up to that many bytes.
// Checked: every frame has a payload within the limit and a right checksum, the frames come
// in stream order, a valid frame right behind the previous one (or at the start) is never
// skipped, the leftover buffer never outgrows one incomplete frame, and the frames do not
// depend on how the stream was cut into deliveries.
std::string CheckFrameAssembly(const QByteArray& input);

// The input as a configuration file on disk: reading and checking its container, parsing
// it, and building it again from what was parsed.
std::string CheckConfigFile(const QByteArray& input);

// The input as a firmware file on disk: reading and checking its container and cutting it
// into numbered, padded blocks with their progress values.
std::string CheckFirmwareFile(const QByteArray& input);
