// The VU needles against the face printed on the background. The needle tip is found from the pixels
// of each frame, the scale marks from the dark or red ink on the face along the path of the tips.
#include "skin_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kVuLeft = 165, kVuTop = 62, kVuWidth = 190, kVuHeight = 90, kVuFrames = 130;

bool samePixel(const skin::Pixel& p, const skin::Pixel& q) {
    return p.r == q.r && p.g == q.g && p.b == q.b && p.a == q.a;
}

// Needle pixels: solid in this frame and different from a frame whose needle is far away, which
// leaves out anything drawn identically in every frame (the pivot cover).
std::vector<skin::Point> needlePixels(const skin::Image& strip, int frame) {
    const skin::Frame here{&strip, frame, kVuHeight};
    const skin::Frame far{&strip, frame < kVuFrames / 2 ? kVuFrames - 1 : 0, kVuHeight};
    std::vector<skin::Point> pixels;
    for (int y = 0; y < kVuHeight; ++y)
        for (int x = 0; x < kVuWidth; ++x) {
            const skin::Pixel p = here.at(x, y);
            if (p.a >= 96 && !samePixel(p, far.at(x, y))) pixels.push_back({x + 0.5, y + 0.5});
        }
    return pixels;
}

// The end of the needle's principal axis that points up, away from the pivot below the window.
skin::Point needleTip(const std::vector<skin::Point>& pixels) {
    const skin::Point c = skin::centroid(pixels);
    double sxx = 0, syy = 0, sxy = 0;
    for (const skin::Point& p : pixels) {
        sxx += (p.x - c.x) * (p.x - c.x);
        syy += (p.y - c.y) * (p.y - c.y);
        sxy += (p.x - c.x) * (p.y - c.y);
    }
    const double theta = 0.5 * std::atan2(2 * sxy, sxx - syy);
    double dx = std::cos(theta), dy = std::sin(theta);
    if (dy > 0) {
        dx = -dx;
        dy = -dy;
    }
    double best = -1e9;
    for (const skin::Point& p : pixels) best = std::max(best, (p.x - c.x) * dx + (p.y - c.y) * dy);
    std::vector<skin::Point> end;
    for (const skin::Point& p : pixels)
        if ((p.x - c.x) * dx + (p.y - c.y) * dy >= best - 1.0) end.push_back(p);
    return skin::centroid(end);
}

skin::Pixel meanColour(const skin::Frame& frame, const std::vector<skin::Point>& pixels) {
    long sum[3] = {0, 0, 0};
    for (const skin::Point& p : pixels) {
        const skin::Pixel px = frame.at(static_cast<int>(p.x), static_cast<int>(p.y));
        sum[0] += px.r, sum[1] += px.g, sum[2] += px.b;
    }
    const long n = std::max<long>(1, static_cast<long>(pixels.size()));
    return {static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n), static_cast<int>(sum[2] / n), 255};
}

bool isScaleInk(const skin::Pixel& p) {
    const bool dark = skin::luminance(p) < 150;
    const bool red = p.r > 140 && p.g < 90 && p.b < 90;
    return dark || red;
}

double distance(skin::Point a, skin::Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

class SkinMeter : public ::testing::Test {
protected:
    void SetUp() override {
        background = skin::loadSkin("101-background.png");
        needle = skin::loadSkin("105-vu-needle.png");
        hold = skin::loadSkin("106-vu-hold-needle.png");
        ASSERT_TRUE(background.valid() && needle.valid() && hold.valid());
        ASSERT_EQ(needle.height, kVuFrames * kVuHeight);
        for (int k = 0; k < kVuFrames; ++k) {
            const std::vector<skin::Point> pixels = needlePixels(needle, k);
            ASSERT_GT(pixels.size(), 30u) << "frame " << k;
            tips.push_back(needleTip(pixels));
        }
    }

    // Connected groups of face ink lying within reach of the tips' path, left to right: the marks.
    std::vector<std::vector<skin::Point>> marksAlongTipPath() const {
        std::vector<int> label(kVuWidth * kVuHeight, -1);
        std::vector<bool> ink(kVuWidth * kVuHeight, false);
        for (int y = 0; y < kVuHeight; ++y)
            for (int x = 0; x < kVuWidth; ++x) {
                const skin::Point p{x + 0.5, y + 0.5};
                const bool nearPath = std::any_of(
                    tips.begin(), tips.end(), [&](const skin::Point& t) { return distance(p, t) <= 2.5; });
                ink[y * kVuWidth + x] = nearPath && isScaleInk(background.at(kVuLeft + x, kVuTop + y));
            }
        std::vector<std::vector<skin::Point>> marks;
        for (int start = 0; start < kVuWidth * kVuHeight; ++start) {
            if (!ink[start] || label[start] >= 0) continue;
            std::vector<int> stack{start};
            label[start] = static_cast<int>(marks.size());
            marks.emplace_back();
            while (!stack.empty()) {
                const int i = stack.back();
                stack.pop_back();
                const int x = i % kVuWidth, y = i / kVuWidth;
                marks.back().push_back({x + 0.5, y + 0.5});
                for (int ny = y - 1; ny <= y + 1; ++ny)
                    for (int nx = x - 1; nx <= x + 1; ++nx) {
                        if (nx < 0 || ny < 0 || nx >= kVuWidth || ny >= kVuHeight) continue;
                        const int j = ny * kVuWidth + nx;
                        if (ink[j] && label[j] < 0) {
                            label[j] = label[start];
                            stack.push_back(j);
                        }
                    }
            }
        }
        std::sort(marks.begin(), marks.end(),
                  [](const auto& a, const auto& b) { return skin::centroid(a).x < skin::centroid(b).x; });
        return marks;
    }

    skin::Image background, needle, hold;
    std::vector<skin::Point> tips;
};

TEST_F(SkinMeter, NeedleSweepsSmoothlyFromLeftStopToRightStop) {
    for (int k = 1; k < kVuFrames; ++k) {
        EXPECT_GT(tips[k].x, tips[k - 1].x - 0.3) << "frame " << k;
        EXPECT_LE(distance(tips[k], tips[k - 1]), 3.5) << "frame " << k;
    }
    EXPECT_LT(tips[0].x, kVuWidth * 0.3);
    EXPECT_GT(tips[kVuFrames - 1].x, kVuWidth * 0.7);
}

TEST_F(SkinMeter, FacePrintsElevenMarksAndTheNeedleTipLandsOnEach) {
    const std::vector<std::vector<skin::Point>> marks = marksAlongTipPath();
    // -20, -10, -7, -5, -3, -2, -1, 0, +1, +2, +3 and the frame that shows each.
    const int markFrames[] = {4, 21, 32, 42, 56, 65, 74, 84, 97, 109, 123};
    ASSERT_EQ(marks.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        const skin::Point tip = tips[markFrames[i]];
        double nearest = 1e9;
        for (const skin::Point& p : marks[i]) nearest = std::min(nearest, distance(tip, p));
        EXPECT_LE(nearest, 2.0) << "mark " << i << " at frame " << markFrames[i];
    }
    // The peak LED is drawn over the face's upper right corner (328, 71)-(356, 99); no mark may hide there.
    for (const auto& mark : marks)
        for (const skin::Point& p : mark)
            EXPECT_FALSE(p.x >= 328 - kVuLeft && p.x <= 356 - kVuLeft && p.y >= 71 - kVuTop &&
                         p.y <= 99 - kVuTop);
}

TEST_F(SkinMeter, MarksFromZeroUpArePrintedRed) {
    const std::vector<std::vector<skin::Point>> marks = marksAlongTipPath();
    ASSERT_EQ(marks.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        int red = 0;
        for (const skin::Point& p : marks[i]) {
            const skin::Pixel px =
                background.at(kVuLeft + static_cast<int>(p.x), kVuTop + static_cast<int>(p.y));
            red += px.r > 140 && px.g < 90 && px.b < 90;
        }
        if (i >= 7)
            EXPECT_GT(red * 2, static_cast<int>(marks[i].size())) << "mark " << i;
        else
            EXPECT_EQ(red, 0) << "mark " << i;
    }
}

TEST_F(SkinMeter, HoldNeedleFollowsTheNeedleButLooksDifferent) {
    for (int k : {0, 4, 84, 123, 129}) {
        const std::vector<skin::Point> pixels = needlePixels(hold, k);
        ASSERT_GT(pixels.size(), 20u) << "frame " << k;
        EXPECT_LE(distance(needleTip(pixels), tips[k]), 2.0) << "frame " << k;
    }
    const std::vector<skin::Point> a = needlePixels(needle, 84), b = needlePixels(hold, 84);
    const skin::Pixel main = meanColour({&needle, 84, kVuHeight}, a);
    const skin::Pixel held = meanColour({&hold, 84, kVuHeight}, b);
    const int colourGap =
        std::max({std::abs(main.r - held.r), std::abs(main.g - held.g), std::abs(main.b - held.b)});
    const bool thinner = b.size() * 10 < a.size() * 8;
    EXPECT_TRUE(colourGap > 60 || thinner) << "colour gap " << colourGap;
}

TEST(SkinLed, LitFrameGlowsAndUnlitFrameDoesNot) {
    const skin::Image led = skin::loadSkin("107-peak-led.png");
    ASSERT_TRUE(led.valid());
    const skin::Frame unlit{&led, 0, 28}, lit{&led, 1, 28};
    EXPECT_GT(skin::luminance(lit.at(14, 14)), skin::luminance(unlit.at(14, 14)) + 60);
    int unlitCover = 0, litCover = 0;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 28; ++x) {
            unlitCover += unlit.at(x, y).a > 0;
            litCover += lit.at(x, y).a > 0;
        }
    EXPECT_GT(litCover, unlitCover + 50) << "the lit lamp should spill a glow around its bezel";
}

} // namespace
