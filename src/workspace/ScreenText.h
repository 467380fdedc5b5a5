#pragma once

#include <QString>

// A value as a window shows it. Names hold 50 characters when the program
// writes them, but a case file written by another tool can hold a name of
// megabytes, which a tree or a list cannot paint in reasonable time; on
// screen such a value is cut, the stored value is never changed.
namespace screentext {

constexpr int kMaxShown = 255;

inline QString shown(const QString& value)
{
    if (value.size() <= kMaxShown)
        return value;
    return value.left(kMaxShown) + QChar(0x2026);
}

} // namespace screentext
