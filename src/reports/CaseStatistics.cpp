#include "reports/CaseStatistics.h"

#include <QString>

#include <cmath>

namespace casestats {

namespace {

// Positional decimal text: the general format's 15 digits, but never an
// exponent, whose "E" a cut would leave dangling.
QString decimalText(double value)
{
    QString text = QString::number(value, 'g', 15);
    if (!text.contains(QLatin1Char('e'), Qt::CaseInsensitive))
        return text;
    text = QString::number(value, 'f', 20);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

double truncated(double value)
{
    QString text = decimalText(value);
    const int point = text.indexOf(QLatin1Char('.'));
    const int keep = point < 0 ? text.size() : std::max(4, static_cast<int>(point));
    text.truncate(keep);
    return text.toDouble();
}

std::optional<double> truncated(std::optional<double> value)
{
    if (!value)
        return std::nullopt;
    return truncated(*value);
}

std::optional<double> grandValue(const std::array<std::optional<double>, 6>& values)
{
    double sum = 0;
    int count = 0;
    for (const std::optional<double>& value : values) {
        if (value) {
            sum += *truncated(value);
            ++count;
        }
    }
    if (count == 0)
        return std::nullopt;
    return truncated(sum / count);
}

int averageLevel(double grandAverage)
{
    // The default rounding mode sends halves to the even neighbour.
    return static_cast<int>(std::nearbyint(grandAverage));
}

} // namespace casestats
