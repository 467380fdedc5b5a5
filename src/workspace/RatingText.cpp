#include "workspace/RatingText.h"

#include "platform/core/AppError.h"

#include <QLocale>

#include <cmath>

namespace ratingtext {
namespace {

const QString kSource = QStringLiteral("Argovo");

double roundHalfToEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1.0;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

} // namespace

int16_t toRating(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::system().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        throw AppError(kTypeMismatch, kSource, QStringLiteral("Type mismatch"));
    const double rounded = roundHalfToEven(value);
    if (rounded < kMinimum || rounded > kMaximum)
        throw AppError(
            kOverflow, kSource,
            QStringLiteral("A rating must be a number from %1 to %2.").arg(kMinimum).arg(kMaximum));
    return static_cast<int16_t>(rounded);
}

QString fromRating(int16_t rating)
{
    return QString::number(rating);
}

} // namespace ratingtext
