#include "editor/skin_bitmaps.h"

#include "vstgui/cbitmap.h"

#include <mutex>

namespace vr58 {

namespace {

constexpr int32_t kFirstId = 101;
constexpr int32_t kCount = 10;

// Hosts may make and destroy effects on several threads; none of this runs on the audio thread.
std::mutex guard;
int attached = 0;
VSTGUI::CBitmap* bitmaps[kCount] = {};

} // namespace

void SkinBitmaps::attach() {
    const std::lock_guard<std::mutex> lock(guard);
    ++attached;
}

void SkinBitmaps::detach() {
    const std::lock_guard<std::mutex> lock(guard);
    if (--attached > 0) return;
    for (VSTGUI::CBitmap*& b : bitmaps) {
        if (b) b->release();
        b = nullptr;
    }
}

VSTGUI::CBitmap* SkinBitmaps::get(int32_t resourceId) {
    if (resourceId < kFirstId || resourceId >= kFirstId + kCount) return nullptr;
    const std::lock_guard<std::mutex> lock(guard);
    VSTGUI::CBitmap*& b = bitmaps[resourceId - kFirstId];
    if (!b) b = new VSTGUI::CBitmap(resourceId);
    return b;
}

} // namespace vr58
