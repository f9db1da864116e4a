#include "imaging/scale_taps.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pictavo::imaging {

namespace {

// Rounds the running total rather than each weight, so the fixed-point
// weights add up exactly and none strays more than one step from its share.
void addOutput(Taps& taps, int first, const std::vector<double>& weights) {
    double total = 0;
    for (double w : weights) total += w;
    double running = 0;
    int32_t previous = 0;
    for (double w : weights) {
        running += w;
        const auto upTo = static_cast<int32_t>(std::lround(running / total * kWeightOne));
        taps.weights.push_back(upTo - previous);
        previous = upTo;
    }
    taps.first.push_back(first);
    taps.offset.push_back(static_cast<int32_t>(taps.weights.size()));
    const auto begin = taps.weights.end() - static_cast<std::ptrdiff_t>(weights.size());
    for (auto w = begin; w < taps.weights.end(); w += 2) {
        const uint32_t second = w + 1 < taps.weights.end() ? static_cast<uint32_t>(w[1]) : 0;
        taps.pairs.push_back(static_cast<int32_t>(static_cast<uint32_t>(w[0]) | (second << 16)));
    }
    taps.pairOffset.push_back(static_cast<int32_t>(taps.pairs.size()));
}

// Shrinking: output i covers source span [i * scale, (i + 1) * scale).
Taps areaTaps(int source, int output) {
    Taps taps;
    taps.offset.push_back(0);
    taps.pairOffset.push_back(0);
    const double scale = static_cast<double>(source) / output;
    std::vector<double> weights;
    for (int i = 0; i < output; ++i) {
        const double start = i * scale;
        const double end = std::min((i + 1) * scale, static_cast<double>(source));
        const int first = static_cast<int>(std::floor(start));
        const int last = std::min(static_cast<int>(std::ceil(end)), source) - 1;
        weights.clear();
        for (int s = first; s <= last; ++s) {
            const double covered = std::min(end, s + 1.0) - std::max(start, static_cast<double>(s));
            weights.push_back(std::max(covered, 0.0) / scale);
        }
        addOutput(taps, first, weights);
    }
    return taps;
}

// Growing (or keeping the size): output centres mapped onto source centres.
Taps bilinearTaps(int source, int output) {
    Taps taps;
    taps.offset.push_back(0);
    taps.pairOffset.push_back(0);
    const double scale = static_cast<double>(source) / output;
    for (int i = 0; i < output; ++i) {
        const double position = std::clamp((i + 0.5) * scale - 0.5, 0.0, source - 1.0);
        const int first = std::min(static_cast<int>(std::floor(position)), source - 1);
        const double fraction = position - first;
        if (first + 1 < source && fraction > 0) {
            addOutput(taps, first, {1.0 - fraction, fraction});
        } else {
            addOutput(taps, first, {1.0});
        }
    }
    return taps;
}

}  // namespace

Taps tapsFor(int source, int output) {
    return output < source ? areaTaps(source, output) : bilinearTaps(source, output);
}

bool acrossFirst(int sourceWidth, int sourceHeight, const Taps& across, const Taps& down) {
    const int64_t acrossCost =
        int64_t{sourceHeight} * across.total() + int64_t{across.outputs()} * down.total();
    const int64_t downCost =
        int64_t{sourceWidth} * down.total() + int64_t{down.outputs()} * across.total();
    return acrossCost <= downCost;
}

// The sums never alias the bytes; saying so lets the compiler vectorise it.
void addWeighted(int32_t* __restrict sum, const uint8_t* __restrict bytes, int32_t weight,
                 size_t count) {
    const auto w = static_cast<int16_t>(weight);
    for (size_t i = 0; i < count; ++i)
        sum[i] += static_cast<int32_t>(w) * static_cast<int16_t>(bytes[i]);
}

#if defined(__SSE2__)

// Two taps at a time: their pixels' bytes interleaved channel by channel and
// multiplied by the pair of weights, adjacent products added, in one
// instruction. The same integer sums as one tap at a time.
void filterLine(const uint8_t* __restrict in, const Taps& taps, uint8_t* __restrict out) {
    const size_t width = static_cast<size_t>(taps.outputs());
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi32(kWeightOne / 2);
    for (size_t x = 0; x < width; ++x, out += 4) {
        const uint8_t* from = in + static_cast<size_t>(taps.first[x]) * 4;
        const int32_t count = taps.offset[x + 1] - taps.offset[x];
        const int32_t* pair = &taps.pairs[static_cast<size_t>(taps.pairOffset[x])];
        __m128i sum = zero;
        int32_t t = 0;
        for (; t + 1 < count; t += 2, from += 8, ++pair) {
            __m128i pixels = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from));
            pixels = _mm_unpacklo_epi8(_mm_unpacklo_epi8(pixels, _mm_srli_si128(pixels, 4)), zero);
            sum = _mm_add_epi32(sum, _mm_madd_epi16(pixels, _mm_set1_epi32(*pair)));
        }
        if (t < count) {
            int32_t last = 0;
            std::memcpy(&last, from, sizeof last);
            __m128i pixel = _mm_unpacklo_epi8(_mm_cvtsi32_si128(last), zero);
            pixel = _mm_unpacklo_epi16(pixel, zero);
            sum = _mm_add_epi32(sum, _mm_madd_epi16(pixel, _mm_set1_epi32(*pair)));
        }
        sum = _mm_srai_epi32(_mm_add_epi32(sum, half), kWeightBits);
        sum = _mm_packus_epi16(_mm_packs_epi32(sum, sum), zero);
        const int32_t bytes = _mm_cvtsi128_si32(sum);
        std::memcpy(out, &bytes, sizeof bytes);
    }
}

#else

void filterLine(const uint8_t* __restrict in, const Taps& taps, uint8_t* __restrict out) {
    const size_t width = static_cast<size_t>(taps.outputs());
    for (size_t x = 0; x < width; ++x, out += 4) {
        int32_t s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        const uint8_t* from = in + static_cast<size_t>(taps.first[x]) * 4;
        for (int32_t t = taps.offset[x]; t < taps.offset[x + 1]; ++t, from += 4) {
            const int32_t w = taps.weights[static_cast<size_t>(t)];
            s0 += w * from[0];
            s1 += w * from[1];
            s2 += w * from[2];
            s3 += w * from[3];
        }
        out[0] = normalise(s0);
        out[1] = normalise(s1);
        out[2] = normalise(s2);
        out[3] = normalise(s3);
    }
}

#endif

}  // namespace pictavo::imaging
