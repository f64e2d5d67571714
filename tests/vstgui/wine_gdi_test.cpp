// The GDI backend against the memory backend: the same PNG resources drawn through offscreens of both,
// read back and compared. Runs as a Windows program under Wine.
#include "shell/platform/module_handle.h"
#include "vstgui/cbitmap.h"
#include "vstgui/coffscreencontext.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/win32/win32_backend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

using namespace VSTGUI;

namespace {

constexpr int32_t kRgbaId = 950; // 64 x 64, every alpha value
constexpr int32_t kRgbId = 951;  // 32 x 16, three channels
constexpr CCoord kWidth = 160;
constexpr CCoord kHeight = 120;

class WineGdiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        vr58::moduleHandle = GetModuleHandleA(nullptr);
        library = win32::win32Backend().bindImageLibrary();
    }
    static void TearDownTestSuite() { win32::win32Backend().unbindImageLibrary(library); }

    // Renders `scene` into a fresh black offscreen of the given backend and reads it back.
    static std::vector<uint32_t> render(platform::Backend& backend,
                                        const std::function<void(CDrawContext&)>& scene) {
        platform::Backend* previous = platform::setBackend(&backend);
        std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
        {
            COffscreenContext ctx(nullptr, kWidth, kHeight, kBlackCColor);
            scene(ctx);
            EXPECT_TRUE(ctx.getSurface()->readPixels(CRect(0, 0, kWidth, kHeight), pixels.data()));
        }
        platform::setBackend(previous);
        return pixels;
    }

    static int maxChannelDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        int worst = 0;
        for (size_t i = 0; i < a.size(); ++i)
            for (int shift = 0; shift < 24; shift += 8)
                worst = std::max(worst, std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)));
        return worst;
    }

    static void* library;
};

void* WineGdiTest::library = nullptr;

TEST_F(WineGdiTest, BlendingEntryPointsAreBoundByName) {
    EXPECT_NE(library, nullptr);
    EXPECT_NE(win32::alphaBlendFunction, nullptr);
    EXPECT_NE(win32::transparentBltFunction, nullptr);
}

TEST_F(WineGdiTest, ResourcesDecodeToTheSamePremultipliedBytesOnBothBackends) {
    for (int32_t id : {kRgbaId, kRgbId}) {
        platform::Backend* previous = platform::setBackend(&win32::win32Backend());
        CBitmap gdi(id);
        platform::setBackend(&soft::softBackend());
        CBitmap memory(id);
        platform::setBackend(previous);
        ASSERT_GT(gdi.getWidth(), 0) << id;
        ASSERT_EQ(gdi.getWidth(), memory.getWidth());
        ASSERT_EQ(gdi.getHeight(), memory.getHeight());
        EXPECT_FALSE(gdi.isOpaque());
        const size_t bytes = static_cast<size_t>(gdi.getWidth()) * gdi.getHeight() * 4;
        EXPECT_EQ(std::vector<uint8_t>(gdi.getImage()->bits(), gdi.getImage()->bits() + bytes),
                  std::vector<uint8_t>(memory.getImage()->bits(), memory.getImage()->bits() + bytes));
    }
}

TEST_F(WineGdiTest, FillsLinesAndClipsMatchExactly) {
    auto scene = [](CDrawContext& ctx) {
        ctx.setFillColor(CColor{30, 60, 90, 255});
        ctx.fillRect(CRect(0, 0, 100, 80));
        ctx.offset = CPoint(5, 5);
        ctx.setFillColor(CColor{200, 10, 10, 255});
        ctx.fillRect(CRect(0, 0, 10, 10));
        ctx.offset = CPoint();
        ctx.setClipRect(CRect(20, 20, 60, 50));
        ctx.setFillColor(CColor{250, 250, 0, 255});
        ctx.fillRect(CRect(0, 0, 160, 120));
        ctx.setClipRect(CRect(0, 0, 160, 120));
        ctx.setFrameColor(CColor{0, 255, 128, 255});
        ctx.moveTo(CPoint(10, 100));
        ctx.lineTo(CPoint(150, 100));
        ctx.lineTo(CPoint(150, 60));
    };
    const auto gdi = render(win32::win32Backend(), scene);
    const auto memory = render(soft::softBackend(), scene);
    EXPECT_EQ(maxChannelDifference(gdi, memory), 0);
}

TEST_F(WineGdiTest, AlphaBlendedBitmapsMatchTheMemoryBackend) {
    auto scene = [](CDrawContext& ctx) {
        ctx.setFillColor(CColor{128, 200, 64, 255});
        ctx.fillRect(CRect(-1, -1, 160, 120));
        CBitmap rgba(kRgbaId);
        CBitmap rgb(kRgbId);
        rgba.draw(&ctx, CRect(0, 0, 64, 64));
        // A sub-block selected by a source offset, through an offset context.
        ctx.offset = CPoint(70, 0);
        rgba.drawTransparent(&ctx, CRect(0, 0, 40, 40), CPoint(10, 20));
        ctx.offset = CPoint();
        rgb.draw(&ctx, CRect(70, 50, 102, 66));
        // Blending over a previous blend, clipped.
        ctx.setClipRect(CRect(0, 70, 100, 110));
        rgba.draw(&ctx, CRect(20, 60, 84, 124));
        rgba.draw(&ctx, CRect(30, 65, 94, 129), CPoint(3, 0));
    };
    const auto gdi = render(win32::win32Backend(), scene);
    const auto memory = render(soft::softBackend(), scene);
    // Both compute src + dst x (255 - alpha) / 255 rounded to nearest: the pixels agree exactly.
    EXPECT_EQ(maxChannelDifference(gdi, memory), 0);
}

} // namespace
