// Where the editor's views sit on the 520 x 440 skin, in creation order (later views lie on top), with
// the filmstrip each one draws from. Names and defaults are the editor build's parameter table's.
#pragma once

#include "engine/build_config.h"

#include <cstdint>

namespace vr58 {

enum class EditorViewKind { Knob, Switch, VuMeter, PeakLed };

struct EditorViewLayout {
    EditorViewKind kind;
    int32_t tag; // parameter index; 0 for the meters, which have no parameter
    int32_t left, top, right, bottom;
    int32_t bitmapId;
    int32_t frames;
    int32_t frameHeight;

    bool hasParameter() const { return kind == EditorViewKind::Knob || kind == EditorViewKind::Switch; }
    const ParameterDefinition& parameter() const { return kEditorParameters[tag]; }
};

inline constexpr int32_t kFaceWidth = 520;
inline constexpr int32_t kFaceHeight = 440;
inline constexpr int32_t kSkinBackgroundId = 101;
inline constexpr int32_t kVuHoldNeedleId = 106;
inline constexpr int32_t kSkinFontId = 111;

inline constexpr EditorViewLayout kEditorLayout[] = {
    {EditorViewKind::Knob, 0, 30, 67, 110, 147, 102, 97, 80},
    {EditorViewKind::Knob, 1, 410, 67, 490, 147, 102, 97, 80},
    {EditorViewKind::Knob, 3, 30, 220, 90, 280, 103, 97, 60},
    {EditorViewKind::Knob, 4, 140, 220, 200, 280, 103, 97, 60},
    {EditorViewKind::Knob, 5, 320, 220, 380, 280, 103, 97, 60},
    {EditorViewKind::Knob, 6, 430, 220, 490, 280, 103, 97, 60},
    {EditorViewKind::Knob, 7, 30, 330, 90, 390, 103, 97, 60},
    {EditorViewKind::Knob, 8, 140, 330, 200, 390, 103, 97, 60},
    {EditorViewKind::Knob, 9, 430, 330, 490, 390, 103, 97, 60},
    {EditorViewKind::Switch, 2, 240, 230, 280, 270, 104, 3, 40},
    {EditorViewKind::Switch, 13, 150, 401, 190, 431, 110, 3, 30},
    {EditorViewKind::Switch, 14, 440, 401, 480, 431, 109, 2, 30},
    {EditorViewKind::Switch, 10, 160, 5, 200, 35, 108, 4, 30},
    {EditorViewKind::Switch, 11, 240, 0, 280, 30, 109, 2, 30},
    {EditorViewKind::Switch, 12, 320, 0, 360, 30, 109, 2, 30},
    {EditorViewKind::VuMeter, 0, 165, 62, 355, 152, 105, 130, 90},
    {EditorViewKind::PeakLed, 0, 328, 71, 356, 99, 107, 2, 28},
};

// The filmstrip frame a knob shows: the value scaled over the strip in single precision, lowered to the
// top of its frame, so 0.5 shows frame 48 of 97.
inline int32_t knobFrame(float value, int32_t frames, int32_t frameHeight) {
    const int32_t total = frameHeight * (frames - 1);
    const int32_t y = static_cast<int32_t>(value * static_cast<float>(total));
    const int32_t frame = y / frameHeight;
    return frame < 0 ? 0 : (frame > frames - 1 ? frames - 1 : frame);
}

// The frame a switch shows: the nearest of its positions, halves rounded up.
inline int32_t switchFrame(float value, int32_t positions) {
    return static_cast<int32_t>(static_cast<float>(positions - 1) * value + 0.5f);
}

} // namespace vr58
