// Counts heap allocations made while the process calls run: the audio thread must never allocate.
#include "effect_fixture.h"
#include "tape/meter_feed.h"
#include "test_signals.h"

#include "counting_allocator.h"
#include <gtest/gtest.h>

using namespace vr58;
using namespace vr58::testing;

TEST(AudioThread, ProcessCallsAndChunkSavesDoNotAllocate) {
    for (const BuildConfig* config : {&kEditorBuild, &kPlainBuild}) {
        auto fx = makeTapedeck(*config, 1);
        fx->setSampleRate(48000.0f);
        const auto material = makeProgramMaterial(4096, 48000.0);
        std::vector<float> fl(material[0].begin(), material[0].end()),
            fr(material[1].begin(), material[1].end());
        std::vector<double> dl(material[0]), dr(material[1]);
        float* fbufs[2] = {fl.data(), fr.data()};
        double* dbufs[2] = {dl.data(), dr.data()};
        void* chunk = nullptr;

        const long before = vr58::testing::heapAllocations();
        for (int block = 0; block < 8; ++block) {
            if (block == 4) fx->meterFeed().start(); // the editor's window opens: the meter step runs too
            fx->processReplacing(fbufs, fbufs, 512);
            fx->processDoubleReplacing(dbufs, dbufs, 512);
        }
        fx->getChunk(&chunk, false);
        EXPECT_EQ(vr58::testing::heapAllocations() - before, 0);
    }
    // The counter itself works: making an effect allocates.
    const long before = vr58::testing::heapAllocations();
    auto fx = makeTapedeck(kEditorBuild, 1);
    EXPECT_GT(vr58::testing::heapAllocations() - before, 0);
}

TEST(AudioThread, MeterFeedDoesNotAllocate) {
    MeterFeed meter;
    const long before = vr58::testing::heapAllocations();
    meter.start();
    for (int block = 0; block < 8; ++block) {
        MeterFeed::Block b = meter.beginBlock(block < 4 ? 44100.0 : 96000.0);
        for (int i = 0; i < 512; ++i) b.push(0.001 * i);
        meter.endBlock(b);
        meter.takePeak();
    }
    meter.stop();
    EXPECT_EQ(vr58::testing::heapAllocations() - before, 0);
}
