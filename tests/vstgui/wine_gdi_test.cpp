// The GDI backend against the memory backend: the same PNG resources drawn through offscreens of both,
// read back and compared; colour-keyed drawing of a plain bitmap; and what draws without msimg32.
// Runs as a Windows program under Wine, once more with msimg32 withheld (VR58_WITHOUT_MSIMG32 set).
#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/coffscreencontext.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/win32/win32_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace VSTGUI;

namespace {

constexpr int32_t kRgbaId = 950;  // 64 x 64, every alpha value
constexpr int32_t kRgbId = 951;   // 32 x 16, three channels
constexpr int32_t kKeyedId = 952; // 24 x 16 plain bitmap with white and magenta pixels
constexpr CCoord kWidth = 160;
constexpr CCoord kHeight = 120;

class WineGdiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        platform::setModuleHandle(GetModuleHandleA(nullptr));
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

bool msimg32Withheld() {
    return std::getenv("VR58_WITHOUT_MSIMG32") != nullptr;
}

BOOL WINAPI staleAlphaBlend(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION) {
    return FALSE;
}
BOOL WINAPI staleTransparentBlt(HDC, int, int, int, int, HDC, int, int, int, int, UINT) {
    return FALSE;
}

TEST_F(WineGdiTest, BlendingEntryPointsAreBoundByNameAndEveryBindingReplacesStaleOnes) {
    const bool present = !msimg32Withheld();
    EXPECT_EQ(library != nullptr, present);
    EXPECT_EQ(win32::alphaBlendFunction.load() != nullptr, present);
    EXPECT_EQ(win32::transparentBltFunction.load() != nullptr, present);

    // Stale entry points are cleared before the lookup, so a missing library leaves none behind.
    const auto alphaBlend = win32::alphaBlendFunction.load();
    const auto transparentBlt = win32::transparentBltFunction.load();
    win32::alphaBlendFunction = staleAlphaBlend;
    win32::transparentBltFunction = staleTransparentBlt;
    void* again = win32::win32Backend().bindImageLibrary();
    EXPECT_EQ(win32::alphaBlendFunction.load(), alphaBlend);
    EXPECT_EQ(win32::transparentBltFunction.load(), transparentBlt);
    win32::win32Backend().unbindImageLibrary(again);
    // The suite's own binding keeps the library loaded after the second one lets go.
    EXPECT_EQ(GetModuleHandleA("msimg32.dll") != nullptr, present);
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
    if (msimg32Withheld()) GTEST_SKIP() << "needs AlphaBlend";
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

// Colour-keyed drawing of a plain bitmap: the key colour shows the destination, every other colour (one
// step from the key included) covers it. Through TransparentBlt when bound, else through the one-bit mask.
TEST_F(WineGdiTest, ColourKeyedDrawingLeavesTheKeyColourTransparent) {
    platform::Backend* previous = platform::setBackend(&win32::win32Backend());
    CBitmap keyed(kKeyedId);
    ASSERT_EQ(keyed.getWidth(), 24) << "plain bitmap 952 is not embedded";
    ASSERT_EQ(keyed.getHeight(), 16);
    EXPECT_TRUE(keyed.isOpaque());

    // The bitmap's own colours, copied opaquely.
    std::vector<uint32_t> source(24 * 16);
    {
        COffscreenContext ctx(nullptr, 24, 16, kBlackCColor);
        keyed.draw(&ctx, CRect(0, 0, 24, 16));
        ASSERT_TRUE(ctx.getSurface()->readPixels(CRect(0, 0, 24, 16), source.data()));
    }
    auto count = [&](uint32_t rgb) {
        return std::count_if(source.begin(), source.end(),
                             [rgb](uint32_t p) { return (p & 0xFFFFFFu) == rgb; });
    };
    ASSERT_GT(count(0xFFFFFFu), 0);
    ASSERT_GT(count(0xFF00FFu), 0);
    ASSERT_GT(count(0xFEFFFFu), 0);
    ASSERT_GT(count(0xFF01FFu), 0);

    const auto transparentBlt = win32::transparentBltFunction.load();
    const uint32_t background = 0x204060u;
    const CPoint srcOffset(4, 3), origin(20, 30);
    for (const bool useTransparentBlt : {true, false}) {
        win32::transparentBltFunction = useTransparentBlt ? transparentBlt : nullptr;
        for (const CColor key : {kTransparentCColor, CColor{255, 0, 255, 0}}) {
            keyed.setTransparentColor(key);
            const uint32_t keyRgb = (uint32_t(key.red) << 16) | (uint32_t(key.green) << 8) | key.blue;
            std::vector<uint32_t> shown(static_cast<size_t>(kWidth) * kHeight);
            {
                COffscreenContext ctx(nullptr, kWidth, kHeight, kBlackCColor);
                ctx.setFillColor(CColor{0x20, 0x40, 0x60, 255});
                ctx.fillRect(CRect(-1, -1, kWidth, kHeight));
                ctx.offset = origin;
                keyed.drawTransparent(&ctx, CRect(0, 0, 16, 10), srcOffset);
                ASSERT_TRUE(ctx.getSurface()->readPixels(CRect(0, 0, kWidth, kHeight), shown.data()));
            }
            int wrong = 0;
            for (CCoord y = 0; y < kHeight; ++y)
                for (CCoord x = 0; x < kWidth; ++x) {
                    uint32_t expected = background;
                    if (x >= origin.h && x < origin.h + 16 && y >= origin.v && y < origin.v + 10) {
                        const uint32_t s =
                            source[(y - origin.v + srcOffset.v) * 24 + (x - origin.h + srcOffset.h)] &
                            0xFFFFFFu;
                        if (s != keyRgb) expected = s;
                    }
                    wrong += (shown[y * kWidth + x] & 0xFFFFFFu) != expected;
                }
            EXPECT_EQ(wrong, 0) << (useTransparentBlt ? "TransparentBlt" : "mask") << " key " << std::hex
                                << keyRgb;
        }
    }
    win32::transparentBltFunction = transparentBlt;
    platform::setBackend(previous);
}

// Without AlphaBlend, images with alpha still draw into memory surfaces, which the toolkit composites
// itself (the memory backend's pixels exactly), and plain bitmaps still draw, opaquely and colour-keyed.
TEST_F(WineGdiTest, WithoutAlphaBlendMemorySurfacesStillComposite) {
    const auto alphaBlend = win32::alphaBlendFunction.load();
    win32::alphaBlendFunction = nullptr;
    auto alphaScene = [](CDrawContext& ctx) {
        ctx.setFillColor(CColor{128, 200, 64, 255});
        ctx.fillRect(CRect(-1, -1, kWidth, kHeight));
        CBitmap rgba(kRgbaId), rgb(kRgbId);
        rgba.draw(&ctx, CRect(0, 0, 64, 64));
        rgba.drawTransparent(&ctx, CRect(0, 0, 64, 64));
        rgb.drawAlphaBlend(&ctx, CRect(70, 0, 102, 16), CPoint(), 128);
        ctx.setClipRect(CRect(100, 30, 130, 70));
        rgba.draw(&ctx, CRect(90, 20, 154, 84), CPoint(0, 0));
        ctx.setClipRect(CRect(0, 0, kWidth, kHeight));
    };
    const auto shown = render(win32::win32Backend(), [&](CDrawContext& ctx) {
        alphaScene(ctx);
        CBitmap keyed(kKeyedId);
        keyed.draw(&ctx, CRect(0, 80, 24, 96));
        keyed.drawTransparent(&ctx, CRect(40, 80, 64, 96));
    });
    win32::alphaBlendFunction = alphaBlend;
    const auto memory = render(soft::softBackend(), alphaScene);

    const uint32_t fill = 0x80C840u;
    int same = 0, copied = 0, keyedThrough = 0, keyedCovered = 0;
    for (CCoord y = 0; y < kHeight; ++y)
        for (CCoord x = 0; x < kWidth; ++x) {
            const uint32_t p = shown[y * kWidth + x] & 0xFFFFFFu;
            const bool plainCopy = x < 24 && y >= 80 && y < 96;
            const bool plainKeyed = x >= 40 && x < 64 && y >= 80 && y < 96;
            if (plainCopy) {
                copied += p != fill;
            } else if (plainKeyed) {
                // Where the copy shows white the keyed draw shows the fill; elsewhere the same colour.
                const uint32_t c = shown[y * kWidth + x - 40] & 0xFFFFFFu;
                keyedThrough += c == 0xFFFFFFu && p == fill;
                keyedCovered += c != 0xFFFFFFu && p == c;
            } else {
                same += p == (memory[y * kWidth + x] & 0xFFFFFFu);
            }
        }
    EXPECT_EQ(same, kWidth * kHeight - 2 * 24 * 16);
    EXPECT_EQ(copied, 24 * 16);
    EXPECT_EQ(keyedThrough + keyedCovered, 24 * 16);
    EXPECT_GT(keyedThrough, 0);
    // The images did draw: the scene differs from its fill.
    EXPECT_NE(shown[10 * kWidth + 10] & 0xFFFFFFu, fill);
}

// Declared after the suite above, so no other binding is alive when it runs.
TEST(ImageLibraryBinding, EntryPointsGoWithTheLastBinding) {
    if (msimg32Withheld()) GTEST_SKIP() << "msimg32 withheld";
    void* first = win32::win32Backend().bindImageLibrary();
    void* second = win32::win32Backend().bindImageLibrary();
    ASSERT_NE(win32::alphaBlendFunction.load(), nullptr);
    win32::win32Backend().unbindImageLibrary(second);
    EXPECT_NE(win32::alphaBlendFunction.load(), nullptr); // another frame still holds the library
    win32::win32Backend().unbindImageLibrary(first);
    EXPECT_EQ(win32::alphaBlendFunction.load(), nullptr);
    EXPECT_EQ(win32::transparentBltFunction.load(), nullptr);
}

} // namespace
