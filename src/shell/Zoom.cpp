// The zoom steps and the rules that pick one.
#include "shell/Zoom.h"

#include <cstdlib>

namespace k52 {

namespace {
constexpr int kTallScreen = 2000;
}  // namespace

int DefaultZoom(int screenHeight) {
    return screenHeight >= kTallScreen ? 200 : kNoZoom;
}

int NearestZoom(int percent) {
    int best = kZoomSteps.front();
    for (int step : kZoomSteps)
        if (std::abs(step - percent) < std::abs(best - percent)) best = step;
    return best;
}

int ZoomIn(int percent) {
    for (int step : kZoomSteps)
        if (step > percent) return step;
    return kZoomSteps.back();
}

int ZoomOut(int percent) {
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
        if (*it < percent) return *it;
    return kZoomSteps.front();
}

}  // namespace k52
