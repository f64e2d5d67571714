// Level measurement and its report, the demo phrase, and the four-character identifiers.
#include "demo_signal.h"
#include "info_printer.h"
#include "levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace vr58::tool;

TEST(Levels, PeakAndRmsOfKnownSignals) {
    std::vector<double> sine(48000);
    for (size_t i = 0; i < sine.size(); ++i) sine[i] = 0.5 * std::sin(2.0 * M_PI * 1000.0 * i / 48000.0);
    const auto levels = measureLevels({sine, std::vector<double>(10, 0.0), {}, {-1.0, 0.25}});
    ASSERT_EQ(levels.size(), 4u);
    EXPECT_NEAR(levels[0].peak, 0.5, 1e-12);
    EXPECT_NEAR(levels[0].rms, 0.5 / std::sqrt(2.0), 1e-9);
    EXPECT_EQ(levels[1].peak, 0.0);
    EXPECT_EQ(levels[2].rms, 0.0);  // an empty channel is silence, not a division by zero
    EXPECT_EQ(levels[3].peak, 1.0); // negative samples count by magnitude

    EXPECT_EQ(formatDbfs(0.0), "-inf");
    EXPECT_EQ(formatDbfs(1.0), "0.0");
    EXPECT_EQ(formatDbfs(0.5), "-6.0");
    EXPECT_EQ(formatDbfs(2.0), "6.0");
}

// Full scale itself fits every integer format: only what lies beyond it counts as clipped, on any channel.
TEST(Levels, StreamedSamplesClipOnlyBeyondFullScale) {
    const double above = std::nextafter(1.0, 2.0);
    const double frames[] = {1.0, -1.0, -1.0, 1.0, 0.5, -above, above, 0.0};
    LevelMeter meter(2);
    meter.add(frames, 4);
    EXPECT_EQ(meter.clipped(), 2);
    const auto levels = meter.channels();
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].peak, above);
    EXPECT_EQ(levels[1].peak, above);
}

TEST(Levels, ReportHasOneLinePerChannel) {
    std::ostringstream out;
    printLevelReport(out, {{"input.wav", {{1.0, 0.5}, {0.5, 0.25}}}, {"mono.wav", {{0.0, 0.0}}}});
    EXPECT_EQ(out.str(), "file       ch  peak dBFS   RMS dBFS\n"
                         "input.wav  L         0.0       -6.0\n"
                         "           R        -6.0      -12.0\n"
                         "mono.wav   1        -inf       -inf\n");
}

TEST(DemoPhrase, LengthPeakAndTheLoudPassage) {
    const auto phrase = makeDemoPhrase();
    ASSERT_EQ(phrase.size(), 2u);
    ASSERT_EQ(phrase[0].size(), static_cast<size_t>(kDemoSeconds * kDemoSampleRate));
    const auto levels = measureLevels(phrase);
    EXPECT_NEAR(std::max(levels[0].peak, levels[1].peak), kDemoPeak, 1e-12);

    const auto rmsBetween = [&](double from, double to) {
        double sum = 0.0;
        const size_t a = static_cast<size_t>(from * kDemoSampleRate),
                     b = static_cast<size_t>(to * kDemoSampleRate);
        for (size_t i = a; i < b; ++i) sum += phrase[0][i] * phrase[0][i] + phrase[1][i] * phrase[1][i];
        return std::sqrt(sum / (2.0 * static_cast<double>(b - a)));
    };
    // The loud passage stands well above the rest (it is there to drive the saturation).
    EXPECT_GT(rmsBetween(kDemoLoudStart, kDemoLoudEnd), 2.0 * rmsBetween(0.0, kDemoLoudStart));
    // Left and right differ (panned sweep and hats), and two runs give the same samples.
    EXPECT_NE(phrase[0], phrase[1]);
    EXPECT_EQ(makeDemoPhrase(), phrase);
}

TEST(FourCharacters, PrintableOrDots) {
    EXPECT_EQ(fourCharacters(0x56523538), "VR58");
    EXPECT_EQ(fourCharacters(0x56737450), "VstP");
    EXPECT_EQ(fourCharacters(0x00410A7F), ".A..");
    EXPECT_EQ(fourCharacters(-1), "....");
}
