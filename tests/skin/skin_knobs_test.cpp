// Knob strips: the pointer is the near-white paint on the dark knob; its direction from the frame's
// centre must follow 225 - 270 * k / 96 degrees, so frame 48 points up and the last frame lower right.
#include "skin_image.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Pointer {
    double bearing;
    size_t pixels;
};

Pointer findPointer(const skin::Frame& frame) {
    std::vector<skin::Point> paint;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (skin::isIndexPaint(frame.at(x, y))) paint.push_back({x + 0.5, y + 0.5});
    const skin::Point centre{frame.width() / 2.0, frame.height / 2.0};
    return {skin::bearingDegrees(centre, skin::centroid(paint)), paint.size()};
}

double expectedBearing(int frame) {
    return 225.0 - 270.0 * frame / 96.0;
}

void checkStrip(const char* file, int size) {
    SCOPED_TRACE(file);
    const skin::Image image = skin::loadSkin(file);
    ASSERT_TRUE(image.valid());
    ASSERT_EQ(image.height, 97 * size);
    // The named frames first, then every twelfth to catch a sweep that bends between them.
    for (int k : {0, 48, 96, 12, 24, 36, 60, 72, 84}) {
        const Pointer p = findPointer({&image, k, size});
        ASSERT_GT(p.pixels, static_cast<size_t>(size / 4)) << "no pointer in frame " << k;
        EXPECT_LE(skin::angleDifference(p.bearing, expectedBearing(k)), 3.0)
            << "frame " << k << " points at " << p.bearing;
    }
}

TEST(SkinKnobs, LargeKnobPointerSweepsFromLowerLeftOverTopToLowerRight) {
    checkStrip("102-knob-large.png", 80);
}

TEST(SkinKnobs, SmallKnobPointerSweepsFromLowerLeftOverTopToLowerRight) {
    checkStrip("103-knob-small.png", 60);
}

TEST(SkinKnobs, KnobsAreShadedNotFlat) {
    for (const char* file : {"102-knob-large.png", "103-knob-small.png"}) {
        SCOPED_TRACE(file);
        const skin::Image image = skin::loadSkin(file);
        ASSERT_TRUE(image.valid());
        const int size = image.width;
        const skin::Frame frame{&image, 48, size};
        // Lit from the upper left: the body is brighter there than at the lower right.
        const double upperLeft = skin::luminance(frame.at(size * 3 / 10, size * 3 / 10));
        const double lowerRight = skin::luminance(frame.at(size * 7 / 10, size * 7 / 10));
        EXPECT_GT(upperLeft, lowerRight + 15.0);
    }
}

} // namespace
