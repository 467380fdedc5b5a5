#pragma once

#include <QString>

#include <algorithm>

// A value as a window shows it. Names hold 50 characters when the program
// writes them, but a case file written by another tool can hold a name of
// megabytes, which a tree or a list cannot paint in reasonable time; on
// screen such a value is cut, the stored value is never changed.
namespace screentext {

constexpr int kMaxShown = 255;

// The value up to maxChars characters and, where maxLines is given, up to
// that many lines, followed by "…" where it was cut.
inline QString shown(const QString& value, qsizetype maxChars = kMaxShown, int maxLines = 0)
{
    qsizetype end = std::min(value.size(), maxChars);
    if (maxLines > 0) {
        qsizetype newline = -1;
        for (int line = 0; line < maxLines; ++line) {
            newline = value.indexOf(QLatin1Char('\n'), newline + 1);
            if (newline < 0 || newline >= end)
                break;
        }
        if (newline >= 0 && newline < end)
            end = newline > 0 && value.at(newline - 1) == QLatin1Char('\r') ? newline - 1 : newline;
    }
    if (end == value.size())
        return value;
    // Never half of a character that takes two.
    if (end > 0 && value.at(end - 1).isHighSurrogate())
        --end;
    return value.left(end) + QChar(0x2026);
}

} // namespace screentext
