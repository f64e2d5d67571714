// Every skin image decodes to the size the editor lays out, and its filmstrip frames are cut cleanly:
// transparent surroundings, some content in every frame, no two frames of a strip alike.
#include "skin_image.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    const char* file;
    int width;
    int frameHeight;
    int frames;
    int channels;
};

const Expected kImages[] = {
    {"101-background.png", 520, 440, 1, 3},
    {"102-knob-large.png", 80, 80, 97, 4},
    {"103-knob-small.png", 60, 60, 97, 4},
    {"104-eq-curve-selector.png", 40, 40, 3, 4},
    {"105-vu-needle.png", 190, 90, 130, 4},
    {"106-vu-hold-needle.png", 190, 90, 130, 4},
    {"107-peak-led.png", 28, 28, 2, 4},
    {"108-vu-ref-switch.png", 40, 30, 4, 4},
    {"109-two-position-slider.png", 40, 30, 2, 4},
    {"110-three-position-slider.png", 40, 30, 3, 4},
};

bool framesEqual(const skin::Frame& a, const skin::Frame& b) {
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width(); ++x) {
            const skin::Pixel p = a.at(x, y), q = b.at(x, y);
            if (p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a) return false;
        }
    return true;
}

TEST(SkinFiles, DecodeToLayoutSizeAndChannelCount) {
    for (const Expected& e : kImages) {
        SCOPED_TRACE(e.file);
        const skin::Image image = skin::loadSkin(e.file);
        ASSERT_TRUE(image.valid());
        EXPECT_EQ(image.width, e.width);
        EXPECT_EQ(image.height, e.frameHeight * e.frames);
        EXPECT_EQ(image.channels, e.channels);
    }
}

TEST(SkinFiles, BackgroundIsFullyOpaque) {
    const skin::Image image = skin::loadSkin("101-background.png");
    ASSERT_TRUE(image.valid());
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) ASSERT_EQ(image.at(x, y).a, 255) << x << "," << y;
}

TEST(SkinFiles, StripFramesHaveTransparentCornersAndContent) {
    for (const Expected& e : kImages) {
        if (e.channels != 4) continue;
        SCOPED_TRACE(e.file);
        const skin::Image image = skin::loadSkin(e.file);
        ASSERT_TRUE(image.valid());
        for (int k = 0; k < e.frames; ++k) {
            const skin::Frame frame{&image, k, e.frameHeight};
            const int right = e.width - 1, bottom = e.frameHeight - 1;
            EXPECT_EQ(frame.at(0, 0).a, 0) << "frame " << k;
            EXPECT_EQ(frame.at(right, 0).a, 0) << "frame " << k;
            EXPECT_EQ(frame.at(0, bottom).a, 0) << "frame " << k;
            EXPECT_EQ(frame.at(right, bottom).a, 0) << "frame " << k;
            int opaque = 0;
            for (int y = 0; y < e.frameHeight; ++y)
                for (int x = 0; x < e.width; ++x) opaque += frame.at(x, y).a >= 160;
            EXPECT_GT(opaque, 20) << "frame " << k << " is empty";
        }
    }
}

TEST(SkinFiles, NeighbouringFramesOfEveryStripDiffer) {
    for (const Expected& e : kImages) {
        if (e.frames < 2) continue;
        SCOPED_TRACE(e.file);
        const skin::Image image = skin::loadSkin(e.file);
        ASSERT_TRUE(image.valid());
        for (int k = 1; k < e.frames; ++k)
            EXPECT_FALSE(framesEqual({&image, k - 1, e.frameHeight}, {&image, k, e.frameHeight}))
                << "frames " << k - 1 << " and " << k;
    }
}

} // namespace
