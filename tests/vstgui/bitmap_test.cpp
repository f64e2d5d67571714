#include "soft_fixture.h"
#include "test_png.h"

#include "vstgui/cbitmap.h"
#include "vstgui/coffscreencontext.h"
#include "vstgui/platform/resources.h"
#include "vstgui/platform/soft/soft_surface.h"
#include "vstgui/pngdecoder.h"

#include <algorithm>
#include <cstring>

using namespace VSTGUI;
using vr58test::pixelAt;
using vr58test::rgbOf;

namespace {

class BitmapTest : public vr58test::SoftTest {
protected:
    vr58test::TestResources resources;
};

const soft::SoftImage& imageOf(const CBitmap& b) {
    return static_cast<const soft::SoftImage&>(*b.getImage());
}

TEST_F(BitmapTest, PremultipliesWithAShiftByEight) {
    resources.addPng(900, 3, 1, 4, {200, 100, 50, 128, 200, 100, 50, 255, 200, 100, 50, 0});
    CBitmap bitmap(900);
    ASSERT_EQ(bitmap.getWidth(), 3);
    ASSERT_EQ(bitmap.getHeight(), 1);
    EXPECT_FALSE(bitmap.isOpaque());
    const uint8_t* bytes = bitmap.getImage()->bits();
    // Stored blue, green, red, alpha.
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 12),
              (std::vector<uint8_t>{25, 50, 100, 128, 50, 100, 200, 255, 0, 0, 0, 0}));
}

TEST_F(BitmapTest, ThreeChannelImageGetsFullAlphaAndStillComposites) {
    resources.addPng(901, 2, 1, 3, {10, 20, 30, 40, 50, 60});
    CBitmap bitmap(901);
    ASSERT_EQ(bitmap.getWidth(), 2);
    EXPECT_FALSE(bitmap.isOpaque());
    EXPECT_EQ(imageOf(bitmap).pixel(0, 0), 0xFF0A141Eu);
    EXPECT_EQ(imageOf(bitmap).pixel(1, 0), 0xFF28323Cu);

    COffscreenContext ctx(nullptr, 4, 4, kWhiteCColor);
    bitmap.draw(&ctx, CRect(1, 1, 3, 2));
    EXPECT_EQ(rgbOf(pixelAt(ctx, 1, 1)), 0x0A141Eu);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 2, 1)), 0x28323Cu);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 3, 1)), 0xFFFFFFu);
}

TEST_F(BitmapTest, RowsAreStoredBottomUpAndSourceOffsetSelectsImageRows) {
    // 40 x 200 strip whose row r has red = r, fully opaque.
    std::vector<uint8_t> rgba;
    for (int r = 0; r < 200; ++r)
        for (int x = 0; x < 40; ++x) rgba.insert(rgba.end(), {uint8_t(r), uint8_t(x), 7, 255});
    resources.addPng(902, 40, 200, 4, rgba);
    CBitmap strip(902);
    ASSERT_EQ(strip.getHeight(), 200);
    // The last stored row is the image's top row.
    const uint8_t* lastRow = strip.getImage()->bits() + 199 * 40 * 4;
    EXPECT_EQ(lastRow[2], 0);
    EXPECT_EQ(strip.getImage()->bits()[2], 199);

    COffscreenContext ctx(nullptr, 50, 50, kBlackCColor);
    strip.draw(&ctx, CRect(0, 0, 40, 40), CPoint(0, 120));
    for (CCoord y = 0; y < 40; ++y) {
        EXPECT_EQ((pixelAt(ctx, 0, y) >> 16) & 0xFF, uint32_t(120 + y));
        EXPECT_EQ((pixelAt(ctx, 39, y) >> 8) & 0xFF, 39u);
    }
    EXPECT_EQ(rgbOf(pixelAt(ctx, 40, 0)), 0u);
}

TEST_F(BitmapTest, SourceOverCompositing) {
    // Half-transparent red over white: 255 * 128 >> 8 = 127 premultiplied, plus white scaled by 127/255.
    resources.addPng(903, 1, 1, 4, {255, 0, 0, 128});
    CBitmap bitmap(903);
    COffscreenContext ctx(nullptr, 2, 2, kWhiteCColor);
    bitmap.drawTransparent(&ctx, CRect(0, 0, 1, 1));
    const uint32_t p = pixelAt(ctx, 0, 0);
    EXPECT_EQ((p >> 16) & 0xFF, 127u + 127u);
    EXPECT_EQ((p >> 8) & 0xFF, 127u);
    EXPECT_EQ(p & 0xFF, 127u);

    // A constant alpha scales the source first.
    COffscreenContext ctx2(nullptr, 2, 2, kBlackCColor);
    resources.addPng(904, 1, 1, 4, {200, 200, 200, 255});
    CBitmap opaqueGrey(904);
    opaqueGrey.drawAlphaBlend(&ctx2, CRect(0, 0, 1, 1), CPoint(), 128);
    EXPECT_EQ(rgbOf(pixelAt(ctx2, 0, 0)), 0x646464u); // 200 * 128 / 255 rounded
}

TEST_F(BitmapTest, MissingOrUndecodableResourceLeavesAnEmptyBitmapThatDrawsNothing) {
    resources.add(905, {0x89, 'P', 'N', 'G', 1, 2, 3});
    // A valid image of another format under type PNG is not taken either.
    resources.add(906, {'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0,  0, 0x36, 0, 0, 0, 0x28, 0, 0, 0, 1, 0,
                        0,   0,   1,    0, 0, 0, 1, 0, 24, 0, 0,    0, 0, 0, 4,    0, 0, 0, 0, 0,
                        0,   0,   0,    0, 0, 0, 0, 0, 0,  0, 0,    0, 0, 0, 0,    0, 0, 0, 0, 0});
    for (int32_t id : {905, 906, 999}) {
        CBitmap bitmap(id);
        EXPECT_EQ(bitmap.getWidth(), 0);
        EXPECT_EQ(bitmap.getHeight(), 0);
        EXPECT_EQ(bitmap.getImage(), nullptr);
        COffscreenContext ctx(nullptr, 2, 2, kBlackCColor);
        bitmap.draw(&ctx, CRect(0, 0, 2, 2));
        EXPECT_EQ(pixelAt(ctx, 1, 1), 0xFF000000u);
    }
}

TEST_F(BitmapTest, DisposeAndLoadFromPathEmptyTheBitmap) {
    resources.addPng(908, 1, 1, 4, {1, 2, 3, 4});
    CBitmap bitmap(908);
    ASSERT_EQ(bitmap.getWidth(), 1);
    EXPECT_FALSE(bitmap.loadFromPath("whatever.png"));
    EXPECT_EQ(bitmap.getWidth(), 0);
    EXPECT_TRUE(bitmap.loadFromResource(908 + 0x10000)); // only the low 16 bits name the resource
    EXPECT_EQ(bitmap.getWidth(), 1);
    EXPECT_EQ(bitmap.getTransparentColor(), kTransparentCColor);
}

TEST_F(BitmapTest, DrawingClipsBlocksThatLeaveTheImage) {
    resources.addPng(907, 2, 2, 4, {9, 9, 9, 255, 9, 9, 9, 255, 9, 9, 9, 255, 9, 9, 9, 255});
    CBitmap bitmap(907);
    COffscreenContext ctx(nullptr, 6, 6, kBlackCColor);
    bitmap.draw(&ctx, CRect(0, 0, 6, 6), CPoint(1, 1));
    EXPECT_EQ(rgbOf(pixelAt(ctx, 0, 0)), 0x090909u);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 1, 0)), 0u);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 0, 1)), 0u);
}

// Every embedded skin image carries its frame index: each frame inflated alone is that frame's rows of the
// whole image, and the index's area is exactly the frame's pixels that are not fully transparent.
TEST(SkinFrameIndex, EveryFrameDecodesAloneToItsRowsOfTheWholeImage) {
    for (int32_t id = 101; id <= 211; id += id == 111 ? 90 : 1) {
        SCOPED_TRACE(id);
        const uint8_t* data = nullptr;
        size_t size = 0;
        ASSERT_TRUE(platform::findResource("PNG", id, data, size));
        PngFrames frames;
        ASSERT_TRUE(frames.open(data, size));
        DecodedImage whole;
        ASSERT_TRUE(decodePng(data, size, whole));
        ASSERT_EQ(whole.channels, frames.channels());
        ASSERT_EQ(whole.width, frames.width());
        ASSERT_EQ(whole.height, frames.frameHeight() * frames.frames());
        const size_t stride = static_cast<size_t>(whole.width) * whole.channels;
        const size_t frameBytes = stride * frames.frameHeight();
        int wrongPixels = 0, wrongAreas = 0;
        std::vector<uint8_t> pixels;
        for (int k = 0; k < frames.frames(); ++k) {
            ASSERT_TRUE(frames.decodeFrame(k, pixels)) << "frame " << k;
            ASSERT_EQ(pixels.size(), frameBytes);
            const uint8_t* expected = whole.pixels.get() + k * frameBytes;
            wrongPixels += std::memcmp(pixels.data(), expected, frameBytes) != 0;
            int left = whole.width, top = frames.frameHeight(), right = 0, bottom = 0;
            for (int y = 0; y < frames.frameHeight(); ++y)
                for (int x = 0; x < whole.width; ++x)
                    if (whole.channels == 3 || expected[y * stride + x * 4 + 3] != 0) {
                        left = std::min(left, x), right = std::max(right, x + 1);
                        top = std::min(top, y), bottom = std::max(bottom, y + 1);
                    }
            const PngFrames::Area& a = frames.drawn(k);
            wrongAreas += right > left
                              ? (a.left != left || a.top != top || a.right != right || a.bottom != bottom)
                              : !a.empty();
        }
        EXPECT_EQ(wrongPixels, 0);
        EXPECT_EQ(wrongAreas, 0);
    }
}

// An index that was changed after it was written, or does not fit its image (frames past the data, an
// area outside the frame), is not used: the strip decodes whole and draws the same pixels.
TEST_F(BitmapTest, AFrameIndexThatDoesNotFitItsImageIsIgnored) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    ASSERT_TRUE(platform::findResource("PNG", 104, data, size));
    const std::vector<uint8_t> original(data, data + size);
    size_t index = 0;
    for (size_t i = 0; i + 4 <= original.size() && !index; ++i)
        if (std::memcmp(&original[i], "frIX", 4) == 0) index = i + 4;
    ASSERT_NE(index, 0u);
    // Entries of 12 bytes after the frame count: offset (4), left, top, right, bottom (2 each).
    const size_t length = 4 + 3 * 12;
    const auto entry = [&](int frame) { return index + 4 + static_cast<size_t>(frame) * 12; };
    const auto resign = [&](std::vector<uint8_t>& png) {
        uint32_t c = 0xFFFFFFFFu;
        for (size_t i = index - 4; i < index + length; ++i) {
            c ^= png[i];
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        c ^= 0xFFFFFFFFu;
        for (int b = 0; b < 4; ++b) png[index + length + b] = static_cast<uint8_t>(c >> (24 - 8 * b));
    };
    CBitmap reference(104);
    const auto* expected = reference.getImage()->bits();
    const size_t bytes =
        static_cast<size_t>(reference.getImage()->width()) * reference.getImage()->height() * 4;
    std::vector<std::vector<uint8_t>> broken(3, original);
    broken[0][entry(1) + 3] ^= 0x10; // frame 1 starts elsewhere, the checksum not redone
    broken[1][entry(2)] = 0x7F;      // past the data
    broken[2][entry(2) + 9] = 41;    // right edge 41 of 40
    resign(broken[1]);
    resign(broken[2]);
    for (size_t i = 0; i < broken.size(); ++i) {
        SCOPED_TRACE(i);
        PngFrames frames;
        EXPECT_FALSE(frames.open(broken[i].data(), broken[i].size()));
        resources.add(995 + static_cast<int32_t>(i), broken[i]);
        CBitmap bitmap(995 + static_cast<int32_t>(i));
        ASSERT_NE(bitmap.getImage(), nullptr);
        ASSERT_EQ(bitmap.getImage()->height(), reference.getImage()->height());
        EXPECT_EQ(std::memcmp(bitmap.getImage()->bits(), expected, bytes), 0);
    }
    std::vector<uint8_t> resigned = original;
    resign(resigned);
    EXPECT_EQ(resigned, original);
}

} // namespace
