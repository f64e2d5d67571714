// The sizes the editor is offered in and how one is chosen: the user's saved choice, else the host's
// scale hint, else the screen's resolution, else 100 %.
#pragma once

#include <cstdint>

namespace vr58 {

inline constexpr int32_t kEditorScales[] = {100, 125, 150, 175, 200};
inline constexpr int32_t kEditorScaleCount = 5;

bool isEditorScale(int32_t percent);
// The offered size nearest to a percentage, halves up; below or above the range its nearest end. 0
// for a value that says nothing (zero, negative, not a number).
int32_t nearestEditorScale(double percent);

struct ScaleSources {
    int32_t userChoice = 0; // a saved size, 0 for none
    float hostFactor = 0;   // the host's hint (1.5 for 150 %), 0 for none
    int32_t screenDpi = 0;  // the screen's dots per inch (96 for 100 %), 0 when unknown
};

int32_t chooseEditorScale(const ScaleSources& sources);

} // namespace vr58
