// The editor at 125, 150 and 200 %: control behaviour in logical pixels, drawing in device pixels, the 2x
// images and their shrunk in-between sizes, and an idle pass that copies only what it redrew.
#include "control_fixture.h"
#include "frame_scene.h"
#include "test_png.h"

#include "vstgui/cbitmap.h"
#include "vstgui/chorizontalswitch.h"
#include "vstgui/cknob.h"
#include "vstgui/coffscreencontext.h"
#include "vstgui/cscale.h"
#include "vstgui/imageresample.h"
#include "vstgui/platform/resources.h"
#include "vstgui/platform/soft/soft_surface.h"
#include "vstgui/platform/soft/soft_window.h"
#include "vstgui/pngdecoder.h"

#include <cstring>

using namespace VSTGUI;
using vr58test::held;
using vr58test::released;

namespace {

TEST(ScaleMapping, EdgesRoundHalvesUpAndPointerPositionsFloor) {
    EXPECT_EQ(toDevice(77, 125), 96); // 96.25
    EXPECT_EQ(toDevice(62, 125), 78); // 77.5 rounds up
    EXPECT_EQ(toDevice(-3, 150), -4); // -4.5 rounds up to -4
    EXPECT_EQ(toDevice(520, 175), 910);
    EXPECT_EQ(toLogical(79, 200), 39);
    EXPECT_EQ(toLogical(-1, 200), -1); // left of the window stays left of it
    EXPECT_EQ(toLogical(29, 150), 19);
    // A paint region is covered by the logical rectangle drawn for it, however it falls.
    for (int32_t scale : {125, 150, 175}) {
        const CRect device(7, 3, 101, 58);
        const CRect covered = toDevice(coveringLogical(device, scale), scale);
        EXPECT_LE(covered.left, device.left);
        EXPECT_LE(covered.top, device.top);
        EXPECT_GE(covered.right, device.right);
        EXPECT_GE(covered.bottom, device.bottom);
        EXPECT_LE(device.left - covered.left, 2) << scale;
    }
}

PixelBlock solidFrames(int width, int frameHeight, std::initializer_list<std::array<uint8_t, 4>> colours) {
    PixelBlock b;
    b.width = width;
    b.height = frameHeight * static_cast<int>(colours.size());
    for (const auto& c : colours)
        for (int i = 0; i < width * frameHeight; ++i) b.rgba.insert(b.rgba.end(), c.begin(), c.end());
    return b;
}

TEST(ImageResample, FramesKeepTheirOwnPixelsAndColoursStayWithinAlpha) {
    // Red, blue and half-transparent green frames shrunk to 75 %: no frame borrows from its neighbour.
    const PixelBlock src = solidFrames(8, 10, {{{255, 0, 0, 255}}, {{0, 0, 255, 255}}, {{0, 64, 0, 128}}});
    const PixelBlock out = resampleFrames(src, 3, 6, 8, 0.75);
    ASSERT_EQ(out.width, 6);
    ASSERT_EQ(out.height, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 6; ++x) {
            const uint8_t* p = &out.rgba[(y * 6 + x) * 4];
            const std::array<uint8_t, 4> expected = y < 8 ? std::array<uint8_t, 4>{255, 0, 0, 255}
                                                          : (y < 16 ? std::array<uint8_t, 4>{0, 0, 255, 255}
                                                                    : std::array<uint8_t, 4>{0, 64, 0, 128});
            EXPECT_EQ((std::array<uint8_t, 4>{p[0], p[1], p[2], p[3]}), expected) << x << "," << y;
        }

    // A hard edge rings under the kernel; premultiplied colours are still clamped to their alpha.
    PixelBlock edge;
    edge.width = 16;
    edge.height = 4;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x)
            edge.rgba.insert(edge.rgba.end(), x < 8 ? std::initializer_list<uint8_t>{255, 255, 255, 255}
                                                    : std::initializer_list<uint8_t>{0, 0, 0, 0});
    const PixelBlock shrunk = resampleFrames(edge, 1, 10, 3, 0.625);
    bool rang = false;
    for (size_t i = 0; i < shrunk.rgba.size(); i += 4) {
        for (int c = 0; c < 3; ++c) EXPECT_LE(shrunk.rgba[i + c], shrunk.rgba[i + 3]);
        rang |= shrunk.rgba[i + 3] > 0 && shrunk.rgba[i + 3] < 255;
    }
    EXPECT_TRUE(rang); // the edge column is a blend, not a copy of either side
    EXPECT_TRUE(resampleFrames(edge, 0, 10, 3, 0.625).rgba.empty());
}

class ScaledSkinTest : public vr58test::SoftTest {};

// The 200 % face composed by the frame equals the 2x images laid out at twice the coordinates by the
// unscaled drawing path.
TEST_F(ScaledSkinTest, TwoHundredPercentFaceIsTheTwoTimesImagesComposed) {
    soft::HostWindow host;
    CFrame frame(CRect(0, 0, 520, 440), &host, nullptr, nullptr, 200);
    CBitmap* background = new CBitmap(101, 201, 200, 1);
    ASSERT_EQ(background->getWidth(), 520) << "2x background 201 is not embedded";
    ASSERT_EQ(background->getImage()->width(), 1040);
    frame.setBackground(background);
    background->release();
    CBitmap* knob = new CBitmap(102, 202, 200, 97);
    EXPECT_EQ(knob->getHeight(), 80 * 97);
    frame.addView(new vr58test::StripView(CRect(30, 67, 110, 147), knob, 48 * 80));
    knob->release();
    ASSERT_TRUE(host.child->paint(CRect(0, 0, 1040, 880)));
    const soft::Pixels& screen = host.child->screen();
    ASSERT_EQ(screen.width, 1040);
    ASSERT_EQ(screen.height, 880);

    CFrame reference(CRect(0, 0, 1040, 880), nullptr, nullptr);
    CBitmap plainBackground(201), plainKnob(202);
    COffscreenContext expected(&reference, 1040, 880);
    plainBackground.draw(&expected, CRect(0, 0, 1040, 880));
    plainKnob.draw(&expected, CRect(60, 134, 220, 294), CPoint(0, 48 * 160));
    auto& pixels = static_cast<soft::SoftSurface*>(expected.getSurface())->pixels();
    int differing = 0;
    for (CCoord y = 0; y < 880; ++y)
        for (CCoord x = 0; x < 1040; ++x) differing += screen.at(x, y) != pixels.at(x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(ScaledSkinTest, InBetweenSizesAreShrunkFromTheTwoTimesImagesFrameByFrame) {
    for (int32_t scale : {125, 150, 175}) {
        CBitmap knob(102, 202, scale, 97);
        ASSERT_EQ(knob.getScale(), scale);
        const CCoord frameRows = (80 * scale + 99) / 100;
        ASSERT_EQ(knob.getImage()->height(), frameRows * 97) << scale;
        ASSERT_EQ(knob.getImage()->width(), frameRows);

        // A frame without background shows exactly the shrunk strip's rows of the frame it asks for.
        soft::HostWindow host;
        CFrame frame(CRect(0, 0, 200, 200), &host, nullptr, nullptr, scale);
        frame.addView(new vr58test::StripView(CRect(30, 67, 110, 147), &knob, 48 * 80));
        ASSERT_TRUE(host.child->paint(CRect(0, 0, toDevice(200, scale), toDevice(200, scale))));
        const auto& image = static_cast<const soft::SoftImage&>(*knob.getImage());
        const CRect device = toDevice(CRect(30, 67, 110, 147), scale);
        int differing = 0;
        for (CCoord y = device.top; y < device.bottom; ++y)
            for (CCoord x = device.left; x < device.right; ++x)
                differing += vr58test::rgbOf(host.child->screen().at(x, y)) !=
                             vr58test::rgbOf(image.pixel(x - device.left, 48 * frameRows + y - device.top));
        EXPECT_EQ(differing, 0) << scale;
    }
    // A context of another scale draws nothing from it rather than the wrong pixels.
    CBitmap knob(102, 202, 150, 97);
    CFrame unscaled(CRect(0, 0, 100, 100), nullptr, nullptr);
    COffscreenContext target(&unscaled, 100, 100);
    knob.draw(&target, CRect(0, 0, 80, 80));
    EXPECT_EQ(vr58test::pixelAt(target, 40, 40), 0xFF000000u);
}

// A frame shrunk when it is first drawn is that frame of the strip shrunk whole, and the areas a meter
// is told before any frame is made cover every pixel the made frames draw.
TEST_F(ScaledSkinTest, FramesShrunkOnFirstDrawEqualTheStripShrunkUpFront) {
    struct Strip {
        int32_t id2x;
        int32_t frames;
        std::vector<int32_t> scales;
    };
    for (const Strip& strip : {Strip{203, 97, {125, 150, 175}}, Strip{205, 130, {125}}}) {
        // The same pixels without the frame index, which the bitmap decodes and shrinks at once.
        const uint8_t* data = nullptr;
        size_t size = 0;
        ASSERT_TRUE(platform::findResource("PNG", strip.id2x, data, size));
        DecodedImage decoded;
        ASSERT_TRUE(decodePng(data, size, decoded));
        vr58test::TestResources resources;
        resources.addPng(990, decoded.width, decoded.height, decoded.channels,
                         std::vector<uint8_t>(decoded.pixels.get(),
                                              decoded.pixels.get() + static_cast<size_t>(decoded.width) *
                                                                         decoded.height * decoded.channels));
        for (int32_t scale : strip.scales) {
            SCOPED_TRACE(testing::Message() << strip.id2x << " at " << scale);
            CBitmap lazy(strip.id2x - 100, strip.id2x, scale, strip.frames);
            CBitmap upFront(strip.id2x - 100, 990, scale, strip.frames);
            const std::vector<CRect> announced = lazy.frameBounds(strip.frames);
            const std::vector<CRect> drawn = upFront.frameBounds(strip.frames);
            const platform::Image& a = *lazy.getImage();
            const platform::Image& b = *upFront.getImage();
            ASSERT_EQ(a.width(), b.width());
            ASSERT_EQ(a.height(), b.height());
            const size_t bytes = static_cast<size_t>(a.width()) * a.height() * 4;
            EXPECT_EQ(std::memcmp(const_cast<platform::Image&>(a).bits(),
                                  const_cast<platform::Image&>(b).bits(), bytes),
                      0);
            int uncovered = 0;
            for (int32_t k = 0; k < strip.frames; ++k) {
                CRect both = drawn[k];
                uncovered += !drawn[k].isEmpty() && both.bound(announced[k]) != drawn[k];
            }
            EXPECT_EQ(uncovered, 0);
        }
    }
}

// Drags, clicks and wheel turns mean the same logical pixels at every scale.
template <int32_t Scale> class ScaledControlTest : public vr58test::ControlFixture {
protected:
    ScaledControlTest() : ControlFixture(Scale) {}
    CPoint device(CCoord x, CCoord y) const { return CPoint(x * Scale / 100, y * Scale / 100); }
    void linearDragOf40UpAnd20Right(CAnimKnob* knob) {
        knob->setValue(0.5f);
        paint();
        press({{device(60, 52), held()}, {device(80, 12), held()}, {device(80, 12), released()}});
        EXPECT_FLOAT_EQ(knob->getValue(), 0.8f);
    }
};

using At125 = ScaledControlTest<125>;
using At150 = ScaledControlTest<150>;
using At200 = ScaledControlTest<200>;

TEST_F(At200, DragOf80By40DevicePixelsSetsWhat40By20DoAtOneHundred) {
    auto* knob = add(new CAnimKnob(CRect(20, 10, 100, 90), nullptr, 7, 97, 80, nullptr));
    knob->setValue(0.5f);
    paint();
    press({{CPoint(120, 100), held()}, {CPoint(160, 20), held()}, {CPoint(160, 20), released()}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.8f);
    // A press just right of the knob's logical edge is not the knob's.
    knob->setValue(0.5f);
    listener.values.clear();
    press({{CPoint(202, 100), held()}, {CPoint(202, 20), held()}, {CPoint(202, 20), released()}});
    EXPECT_EQ(knob->getValue(), 0.5f);
    EXPECT_TRUE(listener.values.empty());
}

TEST_F(At125, LinearDragAndSwitchZonesInLogicalPixels) {
    linearDragOf40UpAnd20Right(add(new CAnimKnob(CRect(20, 10, 100, 90), nullptr, 7, 97, 80, nullptr)));
}

TEST_F(At150, LinearDragSwitchZonesAndWheelInLogicalPixels) {
    auto* knob = add(new CAnimKnob(CRect(20, 10, 100, 90), nullptr, 7, 97, 80, nullptr));
    linearDragOf40UpAnd20Right(knob);

    // Two positions over 40 logical pixels at 120: logical 139 is the left zone, 140 the right one.
    std::vector<uint8_t> rgba(40 * 60 * 4, 255);
    vr58test::TestResources resources;
    resources.addPng(991, 40, 60, 4, rgba);
    auto* strip = new CBitmap(991);
    auto* sw = add(new CHorizontalSwitch(CRect(120, 20, 160, 50), nullptr, 4, 2, 30, 2, strip));
    strip->release(); // the switch, which lives as long as the frame, holds its own reference
    paint();
    press({{CPoint(209, 40), held()}, {CPoint(209, 40), released()}}); // logical 139
    EXPECT_EQ(sw->getValue(), 0.0f);
    press({{CPoint(210, 40), held()}, {CPoint(210, 40), released()}}); // logical 140
    EXPECT_EQ(sw->getValue(), 1.0f);

    // A wheel notch over the knob's device area steps it; the same notch past its edge does not.
    knob->setValue(0.5f);
    EXPECT_TRUE(host.child->wheel(CPoint(kOrigin.h + 140, kOrigin.v + 60), 120));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f);
    host.child->wheel(CPoint(kOrigin.h + 152, kOrigin.v + 60), 120);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f);
}

class IdlePassTest : public vr58test::ControlFixture {
protected:
    IdlePassTest() : ControlFixture(150) {}
};

TEST_F(IdlePassTest, OnlyTheRedrawnViewsReachTheWindow) {
    auto* left = add(new vr58test::ProbeControl(CRect(10, 10, 50, 50)));
    add(new vr58test::ProbeControl(CRect(120, 10, 160, 50)));
    paint();
    // Marks on the window where nothing changes must survive the pass; the dirty view's area is copied.
    soft::Pixels& screen = host.child->screen();
    screen.at(200, 30) = 0x12345678u;
    screen.at(30, 30) = 0x12345678u;
    left->setDirty(true);
    frame->idle();
    ASSERT_EQ(frame->lastUpdatedAreas().size(), 1u);
    EXPECT_EQ(frame->lastUpdatedAreas()[0], CRect(10, 10, 50, 50));
    EXPECT_EQ(screen.at(200, 30), 0x12345678u);
    EXPECT_NE(screen.at(30, 30), 0x12345678u);

    // A frame marked dirty as a whole goes out whole, at its device size.
    frame->setDirty(true);
    frame->idle();
    ASSERT_EQ(frame->lastUpdatedAreas().size(), 1u);
    EXPECT_EQ(frame->lastUpdatedAreas()[0], CRect(0, 0, 200, 100));
    EXPECT_NE(screen.at(200, 30), 0x12345678u);
}

TEST_F(IdlePassTest, ANewScaleResizesTheWindowAndRedrawsItWhole) {
    paint();
    frame->setScale(200);
    EXPECT_EQ(host.child->screen().width, 400);
    EXPECT_EQ(host.child->screen().height, 200);
    frame->idle();
    ASSERT_EQ(frame->lastUpdatedAreas().size(), 1u);
    EXPECT_EQ(frame->lastUpdatedAreas()[0], CRect(0, 0, 200, 100));
    CPoint where;
    soft().setPointer(CPoint(kOrigin.h + 100, kOrigin.v + 41));
    frame->getCurrentLocation(where);
    EXPECT_EQ(where, CPoint(50, 20));
}

} // namespace
