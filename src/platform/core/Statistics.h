#pragma once

#include <cstddef>
#include <optional>

// Running statistics over a stream of values: the one place where mean,
// sample variance and standard deviation are computed, so the storage
// engine's stdev/var aggregates and the grid's subtotals always agree.
namespace stats {

class Accumulator final {
public:
    void add(double value);

    std::size_t count() const { return m_count; }
    double sum() const { return m_sum; }

    std::optional<double> mean() const;
    // Sample (n-1) variance and standard deviation; no value below two values.
    // A constant series gives exactly 0.
    std::optional<double> sampleVariance() const;
    std::optional<double> sampleStdev() const;
    std::optional<double> min() const;
    std::optional<double> max() const;

private:
    // Exact below 2^53 while every value is a whole number (ratings are),
    // and then the mean and variance come from them with a single rounding:
    // a subtotal shown as 7.5 is 7.5, not 7.4999999999999991, so rounding it
    // to a whole rating goes the way the shown value says.
    bool exactSums() const;

    std::size_t m_count = 0;
    double m_sum = 0.0;
    double m_sumOfSquares = 0.0;
    bool m_wholeNumbers = true;
    // Welford's running mean and sum of squared deviations: stable where the
    // naive sum-of-squares formula cancels catastrophically.
    double m_mean = 0.0;
    double m_m2 = 0.0;
    double m_min = 0.0;
    double m_max = 0.0;
};

} // namespace stats
