#include "Statistics.h"

#include <cmath>

namespace stats {

namespace {

// Every whole number up to this is a double, and so is every sum of them
// that stays below it.
constexpr double kExactLimit = 9007199254740992.0; // 2^53

} // namespace

bool Accumulator::exactSums() const
{
    const double n = static_cast<double>(m_count);
    return m_wholeNumbers && n * m_sumOfSquares < kExactLimit && m_sum * m_sum < kExactLimit &&
           n * (n - 1.0) < kExactLimit;
}

void Accumulator::add(double value)
{
    ++m_count;
    m_sum += value;
    m_sumOfSquares += value * value;
    m_wholeNumbers = m_wholeNumbers && std::trunc(value) == value;
    if (m_count == 1) {
        m_mean = value;
        m_m2 = 0.0;
        m_min = value;
        m_max = value;
        return;
    }
    const double delta = value - m_mean;
    m_mean += delta / static_cast<double>(m_count);
    m_m2 += delta * (value - m_mean);
    if (value < m_min)
        m_min = value;
    if (value > m_max)
        m_max = value;
}

std::optional<double> Accumulator::mean() const
{
    if (m_count == 0)
        return std::nullopt;
    if (exactSums())
        return m_sum / static_cast<double>(m_count);
    return m_mean;
}

std::optional<double> Accumulator::sampleVariance() const
{
    if (m_count < 2)
        return std::nullopt;
    // A constant series has no spread at all; report exactly zero rather than
    // whatever rounding leaves behind.
    if (m_min == m_max)
        return 0.0;
    if (exactSums()) {
        // n * sum(x^2) - sum(x)^2 is a whole number held exactly.
        const double n = static_cast<double>(m_count);
        return (n * m_sumOfSquares - m_sum * m_sum) / (n * (n - 1.0));
    }
    const double variance = m_m2 / static_cast<double>(m_count - 1);
    return variance < 0.0 ? 0.0 : variance;
}

std::optional<double> Accumulator::sampleStdev() const
{
    const auto variance = sampleVariance();
    if (!variance)
        return std::nullopt;
    return std::sqrt(*variance);
}

std::optional<double> Accumulator::min() const
{
    if (m_count == 0)
        return std::nullopt;
    return m_min;
}

std::optional<double> Accumulator::max() const
{
    if (m_count == 0)
        return std::nullopt;
    return m_max;
}

} // namespace stats
