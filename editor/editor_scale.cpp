#include "editor/editor_scale.h"

#include <cmath>

namespace vr58 {

bool isEditorScale(int32_t percent) {
    for (int32_t s : kEditorScales)
        if (s == percent) return true;
    return false;
}

int32_t nearestEditorScale(double percent) {
    if (!(percent > 0) || !std::isfinite(percent)) return 0;
    int32_t best = kEditorScales[0];
    for (int32_t s : kEditorScales)
        if (std::fabs(percent - s) <= std::fabs(percent - best)) best = s;
    return best;
}

int32_t chooseEditorScale(const ScaleSources& sources) {
    if (isEditorScale(sources.userChoice)) return sources.userChoice;
    if (const int32_t host = nearestEditorScale(sources.hostFactor * 100.0)) return host;
    if (const int32_t screen = nearestEditorScale(sources.screenDpi * 100.0 / 96.0)) return screen;
    return 100;
}

} // namespace vr58
