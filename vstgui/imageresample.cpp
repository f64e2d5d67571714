#include "vstgui/imageresample.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <emmintrin.h>

namespace VSTGUI {

namespace {

constexpr double kLobes = 3.0;
constexpr double kPi = 3.14159265358979323846;

double lanczos(double x) {
    x = std::fabs(x);
    if (x < 1e-9) return 1.0;
    if (x >= kLobes) return 0.0;
    const double px = kPi * x;
    return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

// For each output index, the source taps (clamped into 0..length-1) and their normalised weights.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int> index;
    std::vector<float> weight;
};

Taps makeTaps(int lengthIn, int lengthOut, double factor) {
    Taps taps;
    const double support = kLobes / factor;
    for (int o = 0; o < lengthOut; ++o) {
        const double centre = (o + 0.5) / factor - 0.5;
        const int lo = static_cast<int>(std::ceil(centre - support));
        const int hi = static_cast<int>(std::floor(centre + support));
        taps.first.push_back(static_cast<int>(taps.index.size()));
        double sum = 0;
        const size_t start = taps.weight.size();
        for (int j = lo; j <= hi; ++j) {
            const double w = lanczos((j - centre) * factor);
            if (w == 0.0) continue;
            taps.index.push_back(std::clamp(j, 0, lengthIn - 1));
            taps.weight.push_back(static_cast<float>(w));
            sum += w;
        }
        for (size_t k = start; k < taps.weight.size(); ++k)
            taps.weight[k] = static_cast<float>(taps.weight[k] / sum);
        taps.count.push_back(static_cast<int>(taps.weight.size() - start));
    }
    return taps;
}

uint8_t toByte(float v, float limit) {
    v = std::clamp(v, 0.0f, limit);
    return static_cast<uint8_t>(v + 0.5f);
}

} // namespace

PixelBlock resampleFrames(const PixelBlock& src, int frames, int widthOut, int frameHeightOut,
                          double factor) {
    PixelBlock out;
    if (frames <= 0 || src.width <= 0 || src.height < frames || widthOut <= 0 || frameHeightOut <= 0)
        return out;
    const int frameHeightIn = src.height / frames;
    out.width = widthOut;
    out.height = frameHeightOut * frames;
    out.rgba.assign(static_cast<size_t>(out.width) * out.height * 4, 0);

    const Taps across = makeTaps(src.width, widthOut, factor);
    const Taps down = makeTaps(frameHeightIn, frameHeightOut, factor);
    // The horizontal pass's rows live in a ring just deep enough for every output row's taps: source rows
    // are made in order, as far as the next output row reaches.
    int depth = 1;
    for (int y = 0, reached = -1; y < frameHeightOut; ++y) {
        const int* index = down.index.data() + down.first[y];
        reached = std::max(reached, *std::max_element(index, index + down.count[y]));
        depth = std::max(depth, reached - *std::min_element(index, index + down.count[y]) + 1);
    }
    std::vector<float> rows(static_cast<size_t>(depth) * widthOut * 4);
    std::vector<float> source(static_cast<size_t>(src.width) * 4);

    // The four channels of a pixel in the lanes of one register: each lane sums the same products in the
    // same order as a channel at a time would, so the result is the same to the bit.
    for (int f = 0; f < frames; ++f) {
        int made = 0;
        const auto horizontal = [&](int y) {
            const uint8_t* line =
                src.rgba.data() + (static_cast<size_t>(f) * frameHeightIn + y) * src.width * 4;
            float* dst = rows.data() + static_cast<size_t>(y % depth) * widthOut * 4;
            // A transparent row stays zero (premultiplied, every sum of its products is +0).
            const uint8_t* end = line + static_cast<size_t>(src.width) * 4;
            if (std::find_if(line, end, [](uint8_t b) { return b != 0; }) == end) {
                std::fill(dst, dst + static_cast<size_t>(widthOut) * 4, 0.0f);
                return;
            }
            // The source row in floats once; each source pixel feeds several output pixels.
            for (int x = 0; x < src.width; ++x) {
                int32_t bytes;
                std::memcpy(&bytes, line + x * 4, 4);
                const __m128i wide = _mm_unpacklo_epi16(
                    _mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), _mm_setzero_si128()), _mm_setzero_si128());
                _mm_storeu_ps(source.data() + x * 4, _mm_cvtepi32_ps(wide));
            }
            for (int x = 0; x < widthOut; ++x) {
                const int* index = across.index.data() + across.first[x];
                const float* weight = across.weight.data() + across.first[x];
                __m128 acc = _mm_setzero_ps();
                for (int k = 0; k < across.count[x]; ++k)
                    acc = _mm_add_ps(
                        acc, _mm_mul_ps(_mm_set1_ps(weight[k]), _mm_loadu_ps(source.data() + index[k] * 4)));
                _mm_storeu_ps(dst + x * 4, acc);
            }
        };
        for (int y = 0; y < frameHeightOut; ++y) {
            uint8_t* dst = out.rgba.data() + (static_cast<size_t>(f) * frameHeightOut + y) * widthOut * 4;
            const int* index = down.index.data() + down.first[y];
            const float* weight = down.weight.data() + down.first[y];
            const int last = *std::max_element(index, index + down.count[y]);
            for (; made <= last; ++made) horizontal(made);
            for (int x = 0; x < widthOut; ++x) {
                __m128 acc = _mm_setzero_ps();
                for (int k = 0; k < down.count[y]; ++k) {
                    const float* p = rows.data() + (static_cast<size_t>(index[k] % depth) * widthOut + x) * 4;
                    acc = _mm_add_ps(acc, _mm_mul_ps(_mm_set1_ps(weight[k]), _mm_loadu_ps(p)));
                }
                float sum[4];
                _mm_storeu_ps(sum, acc);
                // Premultiplied: no colour may exceed its alpha, whatever the kernel's overshoot.
                const uint8_t a = toByte(sum[3], 255.0f);
                for (int c = 0; c < 3; ++c) dst[x * 4 + c] = toByte(sum[c], a);
                dst[x * 4 + 3] = a;
            }
        }
    }
    return out;
}

} // namespace VSTGUI
