#pragma once

#include <QRect>

namespace kadrix {

// The window designs are measured in twips, 1/1440 inch: 15 twips make one
// device-independent pixel, which Qt scales on high-density screens.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twips(int value)
{
    return (value >= 0 ? value + kTwipsPerPixel / 2 : value - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr int toTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

} // namespace kadrix
