#pragma once
// Window geometry is described in twips, a twentieth of a printer's point. The screen turns
// them into pixels with its twips per pixel: 1440 divided by its logical DPI, 15 at 96 DPI.

#include "core/rounding.h"

#include <algorithm>

namespace core {

inline constexpr int defaultTwipsPerPixel = 15;

// Twips per pixel of a screen with this logical DPI, a whole number of at least 1.
inline int twipsPerPixel(double logicalDpi) {
    if (!(logicalDpi > 0)) return defaultTwipsPerPixel;
    return std::max(1, int(roundEven(1440.0 / logicalDpi)));
}

// Pixels for a length in twips, rounded halves to even like every pixel of the program.
inline int twipsToPixels(double twips, int tpp) {
    return round32(twips / (tpp > 0 ? tpp : defaultTwipsPerPixel));
}

inline int pixelsToTwips(int pixels, int tpp) {
    return pixels * (tpp > 0 ? tpp : defaultTwipsPerPixel);
}

} // namespace core
