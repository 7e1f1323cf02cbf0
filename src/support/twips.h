// Twips, the unit of every position and size in the program's layout rules.
//
// 1440 twips make an inch, so at 96 dots per inch one pixel is 15 twips. The windows convert with
// the screen's logical dpi, through these two functions only.
#pragma once

#include <cmath>

namespace quarnel {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kDefaultDpi = 96.0;

// Twips to whole pixels at `dpi`, rounded to the nearest pixel.
inline int twipsToPixels(double twips, double dpi = kDefaultDpi) {
    return int(std::lround(twips * dpi / kTwipsPerInch));
}

// Pixels to twips at `dpi`.
inline double pixelsToTwips(double pixels, double dpi = kDefaultDpi) {
    return pixels * kTwipsPerInch / dpi;
}

}  // namespace quarnel
