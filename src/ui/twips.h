#pragma once
// The window's design lengths are in twips; the screen has 15 twips per pixel.
#include <cmath>

namespace cq {

inline constexpr int kTwipsPerPixel = 15;

// The nearest pixel count.
inline int twipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
// The smallest pixel count that is at least `twips` long, for lower limits.
inline int twipsToPixelsAtLeast(double twips) { return static_cast<int>(std::ceil(twips / kTwipsPerPixel)); }
inline double pixelsToTwips(int pixels) { return static_cast<double>(pixels) * kTwipsPerPixel; }

}  // namespace cq
