#pragma once

#include "SimTime.h"

namespace tc8sim {

// The recorder's measurements as smooth functions of time: two temperatures that drift
// slowly (the second one around zero, so both signs occur), a supply reading around 700
// (about 12.5 V) and an auxiliary reading. The seed shifts the phases.
class SensorSimulator {
public:
    explicit SensorSimulator(unsigned seed);

    // Temperatures in tenths of a degree.
    int Temperature1(SimTime at) const;
    int Temperature2(SimTime at) const;
    int SupplyRaw(SimTime at) const;
    int AuxiliaryRaw(SimTime at) const;

private:
    double phase_;
};

} // namespace tc8sim
