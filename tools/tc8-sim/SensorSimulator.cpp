#include "SensorSimulator.h"

#include <cmath>
#include <numbers>

namespace tc8sim {

namespace {

double Wave(SimTime at, double periodSeconds, double phase) {
    const double seconds = std::chrono::duration<double>(at).count();
    return std::sin(2 * std::numbers::pi * seconds / periodSeconds + phase);
}

} // namespace

SensorSimulator::SensorSimulator(unsigned seed) : phase_((seed % 1000) * 0.001 * std::numbers::pi) {
}

int SensorSimulator::Temperature1(SimTime at) const {
    return static_cast<int>(std::lround(215 + 15 * Wave(at, 600, phase_)));
}

int SensorSimulator::Temperature2(SimTime at) const {
    return static_cast<int>(std::lround(-5 + 35 * Wave(at, 900, 2 * phase_ + 1)));
}

int SensorSimulator::SupplyRaw(SimTime at) const {
    return static_cast<int>(std::lround(700 + 4 * Wave(at, 37, phase_)));
}

int SensorSimulator::AuxiliaryRaw(SimTime at) const {
    return static_cast<int>(std::lround(512 + 20 * Wave(at, 53, phase_ + 2)));
}

} // namespace tc8sim
