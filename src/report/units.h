// Layout units of the report: 96 to the inch, as the report forms give their positions and sizes.
#pragma once

#include <cmath>

namespace report {

inline constexpr double kUnitsPerInch = 96.0;
inline constexpr double kMmPerInch = 25.4;
inline constexpr double kPointsPerInch = 72.0;

constexpr double mmToUnits(double mm) { return mm * kUnitsPerInch / kMmPerInch; }
constexpr double unitsToMm(double units) { return units * kMmPerInch / kUnitsPerInch; }

// A font size in points as the whole number of layout units its height takes (8 pt -> 11).
inline int pointsToUnits(int points) {
    return static_cast<int>(std::lround(points * kUnitsPerInch / kPointsPerInch));
}

}  // namespace report
