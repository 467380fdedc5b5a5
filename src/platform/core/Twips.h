#pragma once

// Positions and sizes are kept in twips, as the windows were laid out;
// this is the one place that turns them into pixels (96 dpi: 15 twips a pixel).
namespace twips {
constexpr int kPerPixel = 15;
constexpr int toPixels(int twips)
{
    return twips / kPerPixel;
}
constexpr int fromPixels(int pixels)
{
    return pixels * kPerPixel;
}
// The left edge at which the start page and the browser count as hidden.
constexpr int kHiddenLeft = 29999;
} // namespace twips
