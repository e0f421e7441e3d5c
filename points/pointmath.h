#pragma once

#include <QString>

namespace points {

// Two-place rounding, half up, decided on the 15-digit decimal text of the
// fraction: 12.345 -> 12.35, 2.675 -> 2.68, 12.995 -> 12.99 (stored as
// 12.99499...), 0.995 -> 1.
double roundTwoPlaces(double value);

} // namespace points
