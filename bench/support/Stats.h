#pragma once

#include <vector>

// The median of the values (the mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> values);
// The nearest-rank percentile: the smallest value with at least `percent` % of the values at
// or below it; 0 for none.
double Percentile(std::vector<double> values, double percent);
