#pragma once

#include <array>
#include <optional>

// The figures of the case analysis report. Printed statistics are cut, not
// rounded; a statistic the case has too few items for is empty throughout.
namespace casestats {

// The number's decimal text (up to 15 significant digits, never in exponent
// form) cut to its first four characters and read back: 6.8333 gives 6.83,
// 12.345 gives 12.3. Digits left of the decimal point are never cut.
double truncated(double value);
std::optional<double> truncated(std::optional<double> value);

// The truncated mean of the six truncated statistics, leaving out the empty
// ones; empty when all six are.
std::optional<double> grandValue(const std::array<std::optional<double>, 6>& values);

// The nearest whole level, halves to the even neighbour (6.5 gives 6, 7.5
// gives 8).
int averageLevel(double grandAverage);

} // namespace casestats
