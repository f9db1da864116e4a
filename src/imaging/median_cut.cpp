// The adaptive palette: a variance-driven median cut over a 32 x 32 x 32
// histogram, then two rounds of k-means to pull each colour to the centre
// of the pixels it stands for.

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_set>

#include "imaging/colour_reduction.h"

namespace pictavo::imaging {

namespace {

constexpr int kBits = 5;

struct Bin {
    uint64_t count = 0;
    std::array<uint64_t, 3> sum{};
    std::array<double, 3> mean{};
};

struct Box {
    size_t begin = 0;
    size_t end = 0;
    double error = 0;  // summed squared distance of the box's pixels from its mean
};

// The picture's own colours when it has no more than limit of them.
std::optional<std::vector<Pixel>> fewColours(const Image& image, size_t limit) {
    std::unordered_set<Pixel> seen;
    Pixel previous = 0;
    bool first = true;
    for (Pixel p : image.pixels) {
        const Pixel colour = p | 0xFF000000u;
        if (!first && colour == previous) continue;
        first = false;
        previous = colour;
        seen.insert(colour);
        if (seen.size() > limit) return std::nullopt;
    }
    std::vector<Pixel> colours(seen.begin(), seen.end());
    std::sort(colours.begin(), colours.end());
    return colours;
}

std::vector<Bin> histogram(const Image& image) {
    std::vector<Bin> bins(size_t{1} << (3 * kBits));
    for (Pixel p : image.pixels) {
        const uint8_t c[3] = {red(p), green(p), blue(p)};
        const size_t index =
            (size_t{c[0]} >> 3 << (2 * kBits)) | (size_t{c[1]} >> 3 << kBits) | (c[2] >> 3);
        Bin& bin = bins[index];
        ++bin.count;
        for (size_t i = 0; i < 3; ++i) bin.sum[i] += c[i];
    }
    std::vector<Bin> used;
    for (Bin& bin : bins) {
        if (bin.count == 0) continue;
        for (size_t i = 0; i < 3; ++i)
            bin.mean[i] = static_cast<double>(bin.sum[i]) / static_cast<double>(bin.count);
        used.push_back(bin);
    }
    return used;
}

struct Moments {
    double count = 0;
    std::array<double, 3> sum{};
    double squares = 0;

    void add(const Bin& bin) {
        const auto n = static_cast<double>(bin.count);
        count += n;
        for (size_t i = 0; i < 3; ++i) {
            sum[i] += n * bin.mean[i];
            squares += n * bin.mean[i] * bin.mean[i];
        }
    }
    double error() const {
        if (count == 0) return 0;
        double spread = squares;
        for (double s : sum) spread -= s * s / count;
        return std::max(spread, 0.0);
    }
};

double boxError(const std::vector<Bin>& bins, size_t begin, size_t end) {
    Moments m;
    for (size_t i = begin; i < end; ++i) m.add(bins[i]);
    return m.error();
}

size_t widestAxis(const std::vector<Bin>& bins, const Box& box) {
    std::array<double, 3> low{255, 255, 255};
    std::array<double, 3> high{0, 0, 0};
    for (size_t i = box.begin; i < box.end; ++i) {
        for (size_t a = 0; a < 3; ++a) {
            low[a] = std::min(low[a], bins[i].mean[a]);
            high[a] = std::max(high[a], bins[i].mean[a]);
        }
    }
    size_t axis = 0;
    for (size_t a = 1; a < 3; ++a) {
        if (high[a] - low[a] > high[axis] - low[axis]) axis = a;
    }
    return axis;
}

// Sorts the box along its widest axis and cuts where the two halves'
// summed error is least. Returns the cut, strictly inside the box.
size_t cutBox(std::vector<Bin>& bins, const Box& box) {
    const size_t axis = widestAxis(bins, box);
    const auto first = bins.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = bins.begin() + static_cast<std::ptrdiff_t>(box.end);
    std::sort(first, last,
              [axis](const Bin& a, const Bin& b) { return a.mean[axis] < b.mean[axis]; });

    std::vector<double> leftError(box.end - box.begin, 0);
    Moments left;
    for (size_t i = box.begin; i < box.end; ++i) {
        left.add(bins[i]);
        leftError[i - box.begin] = left.error();
    }
    Moments right;
    size_t cut = box.begin + 1;
    double best = std::numeric_limits<double>::max();
    for (size_t i = box.end - 1; i > box.begin; --i) {
        right.add(bins[i]);
        const double total = right.error() + leftError[i - 1 - box.begin];
        if (total < best) {
            best = total;
            cut = i;
        }
    }
    return cut;
}

std::vector<Box> medianCut(std::vector<Bin>& bins, size_t count) {
    std::vector<Box> boxes{{0, bins.size(), boxError(bins, 0, bins.size())}};
    while (boxes.size() < count) {
        auto worst = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            const bool aSplittable = a.end - a.begin > 1;
            const bool bSplittable = b.end - b.begin > 1;
            if (aSplittable != bSplittable) return bSplittable;
            return a.error < b.error;
        });
        if (worst->end - worst->begin < 2) break;
        const Box box = *worst;
        const size_t cut = cutBox(bins, box);
        *worst = {box.begin, cut, boxError(bins, box.begin, cut)};
        boxes.push_back({cut, box.end, boxError(bins, cut, box.end)});
    }
    return boxes;
}

std::vector<std::array<double, 3>> boxMeans(const std::vector<Bin>& bins,
                                            const std::vector<Box>& boxes) {
    std::vector<std::array<double, 3>> means;
    for (const Box& box : boxes) {
        Moments m;
        for (size_t i = box.begin; i < box.end; ++i) m.add(bins[i]);
        means.push_back({m.sum[0] / m.count, m.sum[1] / m.count, m.sum[2] / m.count});
    }
    return means;
}

void refine(const std::vector<Bin>& bins, std::vector<std::array<double, 3>>& centres, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        std::vector<Moments> members(centres.size());
        for (const Bin& bin : bins) {
            size_t nearest = 0;
            double bestDistance = std::numeric_limits<double>::max();
            for (size_t c = 0; c < centres.size(); ++c) {
                double distance = 0;
                for (size_t a = 0; a < 3; ++a) {
                    const double d = bin.mean[a] - centres[c][a];
                    distance += d * d;
                }
                if (distance < bestDistance) {
                    bestDistance = distance;
                    nearest = c;
                }
            }
            members[nearest].add(bin);
        }
        for (size_t c = 0; c < centres.size(); ++c) {
            if (members[c].count == 0) continue;  // keeps its place rather than vanish
            for (size_t a = 0; a < 3; ++a) centres[c][a] = members[c].sum[a] / members[c].count;
        }
    }
}

uint8_t toByte(double value) {
    return static_cast<uint8_t>(std::clamp(value + 0.5, 0.0, 255.0));
}

}  // namespace

std::vector<Pixel> adaptivePalette(const Image& image, int count) {
    const auto wanted = static_cast<size_t>(std::clamp(count, 2, 256));
    if (auto own = fewColours(image, wanted)) return *own;

    std::vector<Bin> bins = histogram(image);
    const std::vector<Box> boxes = medianCut(bins, wanted);
    auto centres = boxMeans(bins, boxes);
    refine(bins, centres, 2);

    std::vector<Pixel> palette;
    for (const auto& c : centres) {
        const Pixel colour = rgb(toByte(c[0]), toByte(c[1]), toByte(c[2]));
        if (std::find(palette.begin(), palette.end(), colour) == palette.end())
            palette.push_back(colour);
    }
    return palette;
}

}  // namespace pictavo::imaging
