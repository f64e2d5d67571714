#include "soft_fixture.h"

#include "vstgui/cbuttons.h"
#include "vstgui/coffscreencontext.h"

using namespace VSTGUI;
using vr58test::pixelAt;
using vr58test::rgbOf;

namespace {

class DrawContextTest : public vr58test::SoftTest {};

TEST_F(DrawContextTest, FillRectLeavesTopRowAndLeftColumnAndHonoursOffset) {
    COffscreenContext ctx(nullptr, 20, 20, kBlackCColor);
    ctx.offset = CPoint(5, 5);
    ctx.setFillColor(CColor{255, 0, 0, 255});
    ctx.fillRect(CRect(0, 0, 10, 10));
    int painted = 0;
    for (CCoord y = 0; y < 20; ++y)
        for (CCoord x = 0; x < 20; ++x) {
            const bool inside = x >= 6 && x <= 14 && y >= 6 && y <= 14;
            const uint32_t expected = inside ? 0xFF0000u : 0x000000u;
            ASSERT_EQ(rgbOf(pixelAt(ctx, x, y)), expected) << x << "," << y;
            painted += inside;
        }
    EXPECT_EQ(painted, 81);
}

TEST_F(DrawContextTest, FreshOffscreenIsBackgroundEverywhereIncludingItsBorder) {
    COffscreenContext black(nullptr, 520, 440, kBlackCColor);
    COffscreenContext white(nullptr, 7, 5, kWhiteCColor);
    for (CCoord y = 0; y < 440; ++y)
        for (CCoord x = 0; x < 520; ++x) ASSERT_EQ(pixelAt(black, x, y), 0xFF000000u) << x << "," << y;
    for (CCoord y = 0; y < 5; ++y)
        for (CCoord x = 0; x < 7; ++x) ASSERT_EQ(rgbOf(pixelAt(white, x, y)), 0xFFFFFFu) << x << "," << y;
}

TEST_F(DrawContextTest, ClipWithoutFrameAndClippedDrawing) {
    soft::Pixels screen(50, 50, 0);
    CDrawContext ctx(nullptr, &screen, nullptr);
    CRect clip;
    EXPECT_EQ(ctx.getClipRect(clip), CRect(0, 0, 1000, 1000));

    ctx.setClipRect(CRect(10, 10, 20, 20));
    ctx.setFillColor(kWhiteCColor);
    ctx.fillRect(CRect(-1, -1, 50, 50));
    EXPECT_EQ(rgbOf(screen.at(10, 10)), 0xFFFFFFu);
    EXPECT_EQ(rgbOf(screen.at(19, 19)), 0xFFFFFFu);
    EXPECT_EQ(screen.at(9, 10), 0u);
    EXPECT_EQ(screen.at(20, 19), 0u);

    // A collapsed clip (zero width) draws nothing.
    ctx.setClipRect(CRect(30, 30, 30, 40));
    ctx.setFillColor(CColor{1, 2, 3, 255});
    ctx.fillRect(CRect(-1, -1, 50, 50));
    EXPECT_EQ(screen.at(30, 35), 0u);
}

TEST_F(DrawContextTest, DefaultsAndFontTable) {
    soft::Pixels screen(4, 4, 0);
    CDrawContext ctx(nullptr, &screen, nullptr);
    auto* surface = static_cast<soft::SoftSurface*>(ctx.getSurface());
    EXPECT_EQ(ctx.getFrameColor(), kWhiteCColor);
    EXPECT_EQ(ctx.getFillColor(), kBlackCColor);
    EXPECT_EQ(ctx.getFontColor(), kWhiteCColor);
    EXPECT_EQ(ctx.getLineStyle(), kLineSolid);
    EXPECT_EQ(ctx.getDrawMode(), kCopyMode);
    EXPECT_EQ(surface->penColor(), kWhiteCColor);

    ctx.setFont(kSymbolFont);
    EXPECT_EQ(ctx.getFont(), kSymbolFont);
    EXPECT_EQ(ctx.getFontSize(), 13);

    // An id past the table means the 12-pixel system font.
    ctx.setFont(9, 0, 0);
    EXPECT_EQ(ctx.getFont(), kSystemFont);
    EXPECT_EQ(ctx.getFontSize(), 12);

    ctx.setFont(kNormalFontSmall, 0, 2);
    EXPECT_EQ(ctx.getFontSize(), 11);
    EXPECT_EQ(ctx.getFontStyle(), 2);
}

TEST_F(DrawContextTest, LinesExcludeTheirEndPoint) {
    COffscreenContext ctx(nullptr, 10, 10, kBlackCColor);
    ctx.setFrameColor(kWhiteCColor);
    ctx.offset = CPoint(1, 2);
    ctx.moveTo(CPoint(0, 0));
    ctx.lineTo(CPoint(4, 0));
    EXPECT_EQ(ctx.getPenPosition(), CPoint(4, 0));
    for (CCoord x = 1; x <= 4; ++x) EXPECT_EQ(rgbOf(pixelAt(ctx, x, 2)), 0xFFFFFFu) << x;
    EXPECT_EQ(rgbOf(pixelAt(ctx, 5, 2)), 0u);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 0, 2)), 0u);
}

TEST_F(DrawContextTest, MouseButtonsFollowTheSystemSwapAndModifiers) {
    platform::InputState s;
    s.left = true;
    soft().setInput(s);
    EXPECT_EQ(CDrawContext::getMouseButtons(), kLButton);

    platform::setSwapMouseButtons(true);
    EXPECT_EQ(CDrawContext::getMouseButtons(), kRButton);
    s.control = true;
    soft().setInput(s);
    EXPECT_EQ(CDrawContext::getMouseButtons(), kRButton | kControl);

    s = platform::InputState();
    s.right = true;
    s.middle = true;
    s.shift = true;
    s.alt = true;
    soft().setInput(s);
    EXPECT_EQ(CDrawContext::getMouseButtons(), kLButton | kMButton | kShift | kAlt);
    platform::setSwapMouseButtons(false);
    EXPECT_EQ(CDrawContext::getMouseButtons(), kRButton | kMButton | kShift | kAlt);
}

TEST_F(DrawContextTest, OffscreenCopiesHonourOffsets) {
    COffscreenContext source(nullptr, 10, 10, kBlackCColor);
    source.setFillColor(CColor{0, 0, 255, 255});
    source.fillRect(CRect(1, 1, 4, 4)); // paints (2,2)..(3,3)
    soft::Pixels screen(10, 10, 0);
    CDrawContext dest(nullptr, &screen, nullptr);
    dest.offset = CPoint(3, 1);
    source.copyFrom(&dest, CRect(0, 0, 2, 2), CPoint(2, 2));
    EXPECT_EQ(rgbOf(screen.at(3, 1)), 0x0000FFu);
    EXPECT_EQ(rgbOf(screen.at(4, 2)), 0x0000FFu);
    EXPECT_EQ(screen.at(5, 1), 0u);

    COffscreenContext back(nullptr, 4, 4, kWhiteCColor);
    source.offset = CPoint(1, 1);
    back.copyTo(&source, CRect(1, 1, 3, 3), CPoint(1, 0)); // reads source pixels (2,2)..(3,3)
    EXPECT_EQ(rgbOf(pixelAt(back, 1, 0)), 0x0000FFu);
    EXPECT_EQ(rgbOf(pixelAt(back, 2, 1)), 0x0000FFu);
    EXPECT_EQ(rgbOf(pixelAt(back, 0, 0)), 0xFFFFFFu);
    EXPECT_EQ(rgbOf(pixelAt(back, 3, 1)), 0xFFFFFFu);
}

} // namespace
