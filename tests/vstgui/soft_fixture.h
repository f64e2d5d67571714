// Common set-up for toolkit tests on the memory backend: a clean pointer and clock for every test, and
// helpers to read pixels back.
#pragma once

#include "vstgui/cdrawcontext.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_surface.h"

#include <gtest/gtest.h>

namespace vr58test {

class SoftTest : public ::testing::Test {
protected:
    SoftTest() : previous(VSTGUI::platform::setBackend(&VSTGUI::soft::softBackend())) {
        VSTGUI::soft::softBackend().reset();
        VSTGUI::platform::setSwapMouseButtons(false);
    }
    ~SoftTest() override { VSTGUI::platform::setBackend(previous); }

    VSTGUI::soft::SoftBackend& soft() { return VSTGUI::soft::softBackend(); }

private:
    VSTGUI::platform::Backend* previous;
};

inline uint32_t pixelAt(VSTGUI::CDrawContext& context, VSTGUI::CCoord x, VSTGUI::CCoord y) {
    return static_cast<VSTGUI::soft::SoftSurface*>(context.getSurface())->pixels().at(x, y);
}

inline uint32_t rgbOf(uint32_t pixel) {
    return pixel & 0x00FFFFFFu;
}

} // namespace vr58test
