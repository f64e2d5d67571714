// Switch strips: frame k must show position k of a switch whose zones run left to right, because the
// editor selects a position from the horizontal zone that was clicked.
#include "skin_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

bool isLampAmber(const skin::Pixel& p) {
    return p.a > 200 && p.r > 230 && p.g > 160 && p.b < 170;
}

std::vector<skin::Point> pixelsWhere(const skin::Frame& frame, bool (*test)(const skin::Pixel&)) {
    std::vector<skin::Point> found;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (test(frame.at(x, y))) found.push_back({x + 0.5, y + 0.5});
    return found;
}

TEST(SkinSwitches, CurveSelectorPointsLeftUpRight) {
    const skin::Image image = skin::loadSkin("104-eq-curve-selector.png");
    ASSERT_TRUE(image.valid());
    const double expected[] = {180.0, 90.0, 0.0};
    for (int k = 0; k < 3; ++k) {
        const std::vector<skin::Point> paint = pixelsWhere({&image, k, 40}, skin::isIndexPaint);
        ASSERT_GT(paint.size(), 5u) << "frame " << k;
        const double bearing = skin::bearingDegrees({20.0, 20.0}, skin::centroid(paint));
        EXPECT_LE(skin::angleDifference(bearing, expected[k]), 5.0) << "frame " << k << ": " << bearing;
    }
}

void checkSliderOverZones(const char* file, int positions) {
    SCOPED_TRACE(file);
    const skin::Image image = skin::loadSkin(file);
    ASSERT_TRUE(image.valid());
    const double zone = 40.0 / positions;
    for (int k = 0; k < positions; ++k) {
        const std::vector<skin::Point> paint = pixelsWhere({&image, k, 30}, skin::isIndexPaint);
        ASSERT_GT(paint.size(), 5u) << "frame " << k;
        const double x = skin::centroid(paint).x;
        EXPECT_GE(x, zone * k) << "frame " << k;
        EXPECT_LT(x, zone * (k + 1)) << "frame " << k;
    }
}

TEST(SkinSwitches, SliderCapSitsOverTheZoneOfItsPosition) {
    checkSliderOverZones("109-two-position-slider.png", 2);
    checkSliderOverZones("110-three-position-slider.png", 3);
}

TEST(SkinSwitches, ReferenceReadoutLightsTheLampOfItsZone) {
    const skin::Image image = skin::loadSkin("108-vu-ref-switch.png");
    ASSERT_TRUE(image.valid());
    for (int k = 0; k < 4; ++k) {
        const std::vector<skin::Point> lamp = pixelsWhere({&image, k, 30}, isLampAmber);
        ASSERT_GT(lamp.size(), 3u) << "frame " << k;
        const double x = skin::centroid(lamp).x;
        EXPECT_GE(x, 10.0 * k) << "frame " << k;
        EXPECT_LT(x, 10.0 * (k + 1)) << "frame " << k;
    }
}

TEST(SkinSwitches, ReferenceReadoutShowsADifferentNumeralInEveryFrame) {
    const skin::Image image = skin::loadSkin("108-vu-ref-switch.png");
    ASSERT_TRUE(image.valid());
    std::vector<std::vector<bool>> numerals;
    for (int k = 0; k < 4; ++k) {
        const skin::Frame frame{&image, k, 30};
        std::vector<bool> paint;
        int count = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                paint.push_back(skin::isIndexPaint(frame.at(x, y)) && !isLampAmber(frame.at(x, y)));
                count += paint.back();
            }
        EXPECT_GT(count, 15) << "frame " << k << " shows no numeral";
        for (size_t j = 0; j < numerals.size(); ++j)
            EXPECT_NE(paint, numerals[j]) << "frames " << j << " and " << k;
        numerals.push_back(paint);
    }
}

// The engraved legends' ink, far darker than the brushed metal around it.
int inkIn(const skin::Image& face, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) n += skin::luminance(face.at(x, y)) < 90.0;
    return n;
}

TEST(SkinSwitches, BottomSlidersShowTheirPositionsUnderThemWhereNoFrameCovers) {
    const skin::Image face = skin::loadSkin("101-background.png");
    ASSERT_TRUE(face.valid());
    struct Slider {
        const char* file;
        int left; // on the face
        int positions;
        double cap;
    };
    for (const Slider& s : {Slider{"110-three-position-slider.png", 150, 3, 13.0},
                            Slider{"109-two-position-slider.png", 440, 2, 16.0}}) {
        SCOPED_TRACE(s.file);
        const skin::Image strip = skin::loadSkin(s.file);
        ASSERT_TRUE(strip.valid());
        for (int k = 0; k < s.positions; ++k) {
            // A legend under every place the cap stops, in the rows below the switch's image...
            const double stop =
                std::max(2 + s.cap / 2, std::min(38 - s.cap / 2, 40.0 / s.positions * (k + 0.5)));
            const int x = s.left + static_cast<int>(stop);
            EXPECT_GT(inkIn(face, x - 3, 428, x + 4, 439), 3) << "position " << k;
            // ...which no frame paints over.
            for (int y = 27; y < 30; ++y)
                for (int sx = 0; sx < 40; ++sx)
                    ASSERT_EQ(skin::Frame({&strip, k, 30}).at(sx, y).a, 0) << sx << "," << y;
        }
    }
    // Between the ends of Bump's scale, right over HB Att, nothing is printed that would read as that scale.
    EXPECT_EQ(inkIn(face, 150, 393, 190, 400), 0);
}

} // namespace
