// Hosts change parameters and the sample rate on other threads while the audio thread processes, and may
// save state from two threads at once. The coefficients must never be half old, half new inside a block,
// and a saved chunk never holds a value nobody set. The ThreadSanitizer build runs these too.
#include "effect_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <thread>

using namespace vr58;
using namespace vr58::testing;

namespace {
constexpr int kBlock = 256;

struct NoiseBlock {
    NoiseBlock() {
        uint32_t lcg = 77u;
        for (int i = 0; i < kBlock; ++i) {
            lcg = lcg * 1664525u + 1013904223u;
            const double v = ((lcg >> 8) / 16777216.0 - 0.5); // +-0.5
            dl[i] = v;
            dr[i] = -v;
            fl[i] = static_cast<float>(v);
            fr[i] = static_cast<float>(-v);
        }
    }
    double dl[kBlock], dr[kBlock];
    float fl[kBlock], fr[kBlock];
};

// Processes alternately in float and double and returns the largest output magnitude (infinity for a
// non-finite sample), until `blocks` blocks are done or `stop` is set.
double processNoise(QuorvaneTapedeck& fx, int blocks, const std::atomic<bool>* stop = nullptr) {
    NoiseBlock in;
    double dOut[2][kBlock];
    float fOut[2][kBlock];
    double peak = 0.0;
    for (int b = 0; b < blocks && !(stop && stop->load()); ++b) {
        if (b % 2) {
            double* ins[2] = {in.dl, in.dr};
            double* outs[2] = {dOut[0], dOut[1]};
            fx.processDoubleReplacing(ins, outs, kBlock);
            for (auto& channel : dOut)
                for (double v : channel) peak = std::isfinite(v) ? std::max(peak, std::abs(v)) : INFINITY;
        } else {
            float* ins[2] = {in.fl, in.fr};
            float* outs[2] = {fOut[0], fOut[1]};
            fx.processReplacing(ins, outs, kBlock);
            for (auto& channel : fOut)
                for (float v : channel)
                    peak = std::isfinite(v) ? std::max(peak, double(std::abs(v))) : INFINITY;
        }
        if (!std::isfinite(peak)) break;
    }
    return peak;
}

// The same toggle once per block on the audio thread, and then from a second thread as fast as it goes.
void expectTogglesFromAnotherThreadStayBounded(const std::function<void(QuorvaneTapedeck&, bool)>& toggle) {
    auto single = makeTapedeck(kEditorBuild, 3);
    single->setSampleRate(48000.0f);
    double singleThreadPeak = 0.0;
    for (int b = 0; b < 400; ++b) {
        toggle(*single, b % 2);
        singleThreadPeak = std::max(singleThreadPeak, processNoise(*single, 1));
    }

    auto fx = makeTapedeck(kEditorBuild, 3);
    fx->setSampleRate(48000.0f);
    std::atomic<bool> stop{false};
    std::thread changer([&] {
        for (bool on = false; !stop.load(); on = !on) toggle(*fx, on);
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(700);
    double peak = 0.0;
    while (std::chrono::steady_clock::now() < until && std::isfinite(peak))
        peak = std::max(peak, processNoise(*fx, 64));
    stop = true;
    changer.join();
    EXPECT_TRUE(std::isfinite(peak));
    EXPECT_LE(peak, 2.0 * singleThreadPeak) << "single-threaded peak " << singleThreadPeak;
}
} // namespace

TEST(ConcurrentChanges, HeadTogglesFromAnotherThreadKeepTheOutputBounded) {
    expectTogglesFromAnotherThreadStayBounded(
        [](QuorvaneTapedeck& fx, bool on) { fx.setParameter(kHead, on ? 1.0f : 0.0f); });
}

TEST(ConcurrentChanges, SampleRateTogglesFromAnotherThreadKeepTheOutputBounded) {
    expectTogglesFromAnotherThreadStayBounded(
        [](QuorvaneTapedeck& fx, bool on) { fx.setSampleRate(on ? 8000.0f : 192000.0f); });
}

TEST(ConcurrentChanges, ChunksSavedFromTwoThreadsHoldOnlyValuesThatWereSet) {
    // Two states whose byte patterns mix into other floats (0x3E800000 and 0x3F400000): a chunk written
    // byte by byte under a reader shows 0.1875 or 1.0.
    auto fx = makeTapedeck(kEditorBuild);
    const int n = fx->getAeffect()->numParams;
    for (int i = 0; i < n; ++i) fx->setParameter(i, 0.25f);
    std::atomic<bool> stop{false};
    std::atomic<long> strays{0};
    std::thread changer([&] {
        for (bool high = false; !stop.load(); high = !high)
            for (int i = 0; i < n; ++i) fx->setParameter(i, high ? 0.75f : 0.25f);
    });
    auto saver = [&] {
        for (int round = 0; round < 20000; ++round) {
            void* data = nullptr;
            const int32_t size = fx->getChunk(&data, false);
            float values[15];
            std::memcpy(values, data, static_cast<size_t>(size));
            for (int i = 0; i < n; ++i)
                if (values[i] != 0.25f && values[i] != 0.75f) ++strays;
        }
    };
    std::thread other(saver);
    saver();
    other.join();
    stop = true;
    changer.join();
    EXPECT_EQ(strays.load(), 0);
}
