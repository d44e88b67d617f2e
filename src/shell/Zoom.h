// The terminal picture's zoom as numbers: the steps offered, the start-up default, and what a stored or
// requested value becomes.
#pragma once

#include <array>

namespace k52 {

// Percent of the terminal's logical 180 x 400 picture.
inline constexpr std::array<int, 4> kZoomSteps{100, 150, 200, 300};
inline constexpr int kNoZoom = 100;

// 200% on a screen at least 2000 logical pixels high, else 100%.
int DefaultZoom(int screenHeight);
// The offered step nearest to `percent` (a stored value may be anything); ties go to the smaller.
int NearestZoom(int percent);
// The next step up or down from `percent`, staying at the ends.
int ZoomIn(int percent);
int ZoomOut(int percent);

}  // namespace k52
