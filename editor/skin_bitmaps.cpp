#include "editor/skin_bitmaps.h"

#include "editor/editor_scale.h"
#include "vstgui/cbitmap.h"

#include <mutex>

namespace vr58 {

namespace {

constexpr int32_t kFirstId = 101;
constexpr int32_t kCount = 11;
// The 2x image of a skin id carries the id plus this.
constexpr int32_t kSecondScaleOffset = 100;
// Frames stacked in each image, 101 to 111: the in-between sizes shrink each frame on its own.
constexpr int32_t kFrames[kCount] = {1, 97, 97, 3, 130, 130, 2, 4, 2, 3, 96};

// Hosts may make and destroy effects on several threads; none of this runs on the audio thread.
std::mutex guard;
int attached = 0;
int users[kEditorScaleCount] = {};
// The larger size whose last editor closed: its images wait for the next opening, as most reopenings are
// at the same size; an opening at another size or the last editor's destruction frees them.
int waiting = -1;
VSTGUI::CBitmap* bitmaps[kEditorScaleCount][kCount] = {};

int scaleIndex(int32_t percent) {
    for (int i = 0; i < kEditorScaleCount; ++i)
        if (kEditorScales[i] == percent) return i;
    return 0;
}

void freeSize(int index) {
    for (VSTGUI::CBitmap*& b : bitmaps[index]) {
        if (b) b->release();
        b = nullptr;
    }
}

} // namespace

void SkinBitmaps::attach() {
    const std::lock_guard<std::mutex> lock(guard);
    ++attached;
}

void SkinBitmaps::detach() {
    const std::lock_guard<std::mutex> lock(guard);
    if (--attached > 0) return;
    freeSize(0);
    if (waiting > 0) freeSize(waiting);
    waiting = -1;
}

void SkinBitmaps::use(int32_t scalePercent) {
    const std::lock_guard<std::mutex> lock(guard);
    const int index = scaleIndex(scalePercent);
    if (waiting > 0 && waiting != index) freeSize(waiting);
    waiting = -1;
    ++users[index];
}

void SkinBitmaps::unuse(int32_t scalePercent) {
    const std::lock_guard<std::mutex> lock(guard);
    const int index = scaleIndex(scalePercent);
    if (--users[index] > 0 || index == 0) return;
    users[index] = 0;
    if (waiting > 0 && waiting != index) freeSize(waiting);
    waiting = index;
}

VSTGUI::CBitmap* SkinBitmaps::get(int32_t resourceId, int32_t scalePercent) {
    if (resourceId < kFirstId || resourceId >= kFirstId + kCount) return nullptr;
    const std::lock_guard<std::mutex> lock(guard);
    const int index = scaleIndex(scalePercent);
    const int32_t slot = resourceId - kFirstId;
    VSTGUI::CBitmap*& b = bitmaps[index][slot];
    if (!b)
        b = index == 0 ? new VSTGUI::CBitmap(resourceId)
                       : new VSTGUI::CBitmap(resourceId, resourceId + kSecondScaleOffset,
                                             kEditorScales[index], kFrames[slot]);
    return b;
}

bool SkinBitmaps::isDecoded(int32_t scalePercent) {
    const std::lock_guard<std::mutex> lock(guard);
    for (const VSTGUI::CBitmap* b : bitmaps[scaleIndex(scalePercent)])
        if (b) return true;
    return false;
}

} // namespace vr58
