// An independent, deliberately plain evaluation of the tape chain's formulas, written from the product's
// description rather than from its code: trim, record shelves, hiss, erf, high-pass, peak, repro shelves,
// output gain. Tests compare the plug-in against it bit for bit.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vr58::testing {

struct ReferenceLayout {
    int hbAtt;
    int noise;
};
constexpr ReferenceLayout kEditorLayout{13, 14};
constexpr ReferenceLayout kPlainLayout{10, 11};

class ReferenceTape {
public:
    ReferenceTape(const std::vector<float>& values, ReferenceLayout layout, float sampleRate, uint32_t seed)
        : p(values), layout(layout), seed(seed) {
        const double fs = sampleRate;
        const float curve = p[2];
        double highCorner = 4550.0;
        double recLo = 0.0, repLo = 0.0;
        if (curve < 0.3333333432674408f) {
            highCorner = 3180.0;
            recLo = (double)(p[3] * 20.0f - 10.0f);
            repLo = (double)(p[5] * 20.0f - 10.0f);
        } else if (curve > 0.6666666269302368f) {
            highCorner = 9100.0;
        }
        const double lowCorner = std::fmin(50.0, 0.45 * fs);
        highCorner = std::fmin(highCorner, 0.45 * fs);
        for (int ch = 0; ch < 2; ++ch) {
            shelf(recordLow[ch], recLo, lowCorner, fs, true);
            shelf(recordHigh[ch], (double)(p[4] * 28.0f - 14.0f), highCorner, fs, false);
            shelf(reproLow[ch], repLo, lowCorner, fs, true);
            shelf(reproHigh[ch], (double)(p[6] * 28.0f - 14.0f), highCorner, fs, false);
        }
        const float h = p[7], b = p[8], a = p[layout.hbAtt];
        const double hpHz = std::fmin((double)(10.0f + 10.0f * h), 0.45 * fs);
        const double centre = std::fmin((double)(65.0f + 40.0f * h), 0.45 * fs);
        const double gain = (double)b * (4.0 - (double)h) + (4.0 - (double)h) - (double)(2.0f * a);
        for (int ch = 0; ch < 2; ++ch) {
            const double K = 1.0 / std::tan(hpHz * 3.141592653589793 / fs);
            hp[ch].b0 = K / (K + 1.0);
            hp[ch].b1 = -(K / (K + 1.0));
            hp[ch].a1 = (1.0 - K) / (K + 1.0);
            const double A = std::exp(gain * 0.05756462732485114);
            const double w0 = centre * 6.283185307179586 / fs;
            const double alpha = std::sinh(0.34657359027997264 * 3.0 * w0 / std::sin(w0)) * std::sin(w0);
            const double a0 = 1.0 + alpha / A;
            peak[ch].a1 = -2.0 * std::cos(w0) / a0;
            peak[ch].a2 = (1.0 - alpha / A) / a0;
            peak[ch].b0 = (1.0 + alpha * A) / a0;
            peak[ch].b1 = -2.0 * std::cos(w0) / a0;
            peak[ch].b2 = (1.0 - alpha * A) / a0;
        }
    }

    template <typename S> void run(const S* inL, const S* inR, S* outL, S* outR, int frames) {
        run(inL, inR, outL, outR, frames, [](const double*, const double*) {});
    }

    // Calls onFrame(x, y) after each frame with its trimmed inputs and its outputs, as a meter would read
    // them.
    template <typename S, typename OnFrame>
    void run(const S* inL, const S* inR, S* outL, S* outR, int frames, OnFrame&& onFrame) {
        const double trim = std::exp((double)(p[0] * 48.0f - 24.0f) * 0.11512925464970228);
        const double out = std::exp((double)(p[1] * 48.0f - 24.0f) * 0.11512925464970228);
        const double hiss = std::exp((double)(p[9] * 60.0f - 96.0f) * 0.11512925464970228);
        const bool noiseOn = !(p[layout.noise] == 0.0f);
        for (int i = 0; i < frames; ++i) {
            double x[2] = {(double)inL[i] * trim, (double)inR[i] * trim};
            double u[2];
            for (int ch = 0; ch < 2; ++ch)
                u[ch] = runShelf(recordHigh[ch], runShelf(recordLow[ch], x[ch], true), false);
            if (noiseOn) {
                u[0] += (double)nextNoise() * hiss;
                u[1] += (double)nextNoise() * hiss;
            }
            double y[2];
            for (int ch = 0; ch < 2; ++ch) {
                double v = std::erf(u[ch]);
                Hp& f = hp[ch];
                double w = f.b0 * v + f.b1 * f.x1 - f.a1 * f.y1;
                f.x1 = v;
                f.y1 = w;
                Peak& q = peak[ch];
                double z = q.b0 * w + q.b1 * q.x1 + q.b2 * q.x2 - q.a1 * q.y1 - q.a2 * q.y2;
                q.x2 = q.x1;
                q.x1 = w;
                q.y2 = q.y1;
                q.y1 = z;
                y[ch] = runShelf(reproHigh[ch], runShelf(reproLow[ch], z, true), false) * out;
            }
            outL[i] = (S)y[0];
            outR[i] = (S)y[1];
            onFrame(x, y);
        }
    }

    uint32_t currentSeed() const { return seed; }

private:
    struct Shelf {
        double k = 0, c = 0, s = 0;
    };
    struct Hp {
        double b0 = 0, b1 = 0, a1 = 0, x1 = 0, y1 = 0;
    };
    struct Peak {
        double a1 = 0, a2 = 0, b0 = 0, b1 = 0, b2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    };

    static void shelf(Shelf& f, double db, double corner, double fs, bool low) {
        const double t = std::tan(corner * 3.141592653589793 / fs);
        const double v0 = std::exp(db * 0.11512925464970228);
        f.k = (v0 - 1.0) * 0.5;
        if (db >= 0.0)
            f.c = (t - 1.0) / (t + 1.0);
        else if (low)
            f.c = (t - v0) / (t + v0);
        else
            f.c = (v0 * t - 1.0) / (v0 * t + 1.0);
    }
    static double runShelf(Shelf& f, double x, bool low) {
        const double s = x - f.c * f.s;
        const double ap = f.c * s + f.s;
        f.s = s;
        return low ? x + f.k * (x + ap) : x + f.k * (x - ap);
    }
    float nextNoise() {
        seed = seed * 196314165u + 907633515u;
        const uint32_t word = (seed >> 9) | 0x40000000u;
        float f;
        std::memcpy(&f, &word, 4);
        return (f - 3.0f) * 0.5f;
    }

    std::vector<float> p;
    ReferenceLayout layout;
    uint32_t seed;
    Shelf recordLow[2], recordHigh[2], reproLow[2], reproHigh[2];
    Hp hp[2];
    Peak peak[2];
};

} // namespace vr58::testing
