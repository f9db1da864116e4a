#include "imaging/row_scaler.h"

#include <algorithm>
#include <cstring>

namespace pictavo::imaging {

namespace {

const uint8_t* bytesOf(const Pixel* pixels) {
    return reinterpret_cast<const uint8_t*>(pixels);
}

void normaliseAll(const int32_t* __restrict sums, uint8_t* __restrict bytes, size_t count) {
    for (size_t k = 0; k < count; ++k) bytes[k] = normalise(sums[k]);
}

}  // namespace

RowScaler::RowScaler(Orientation orientation, int storedWidth, int storedHeight, int outputWidth,
                     int outputHeight)
    : axes_(storedAxes(orientation)),
      storedWidth_(storedWidth),
      storedHeight_(storedHeight),
      output_(outputWidth, outputHeight) {
    const int uprightWidth = axes_.swapped ? storedHeight : storedWidth;
    const int uprightHeight = axes_.swapped ? storedWidth : storedHeight;
    Taps x = tapsFor(uprightWidth, outputWidth);
    Taps y = tapsFor(uprightHeight, outputHeight);
    // The order resample() takes on the upright picture, in stored terms.
    const bool xFirst = acrossFirst(uprightWidth, uprightHeight, x, y);
    alongFirst_ = axes_.swapped ? !xFirst : xFirst;
    along_ = std::move(axes_.swapped ? y : x);
    across_ = std::move(axes_.swapped ? x : y);
    sumWidth_ = static_cast<size_t>(alongFirst_ ? along_.outputs() : storedWidth) * 4;

    // Which output lines each upright row adds to.
    const int lines = across_.outputs();
    contributionStart_.assign(static_cast<size_t>(storedHeight) + 1, 0);
    for (int line = 0; line < lines; ++line) {
        const auto l = static_cast<size_t>(line);
        for (int32_t t = across_.offset[l]; t < across_.offset[l + 1]; ++t)
            ++contributionStart_[static_cast<size_t>(across_.first[l] + t - across_.offset[l]) + 1];
    }
    for (size_t u = 0; u < static_cast<size_t>(storedHeight); ++u)
        contributionStart_[u + 1] += contributionStart_[u];
    contributions_.resize(static_cast<size_t>(contributionStart_.back()));
    std::vector<int32_t> filled(contributionStart_.begin(), contributionStart_.end() - 1);
    remaining_.resize(static_cast<size_t>(lines));
    for (int line = 0; line < lines; ++line) {
        const auto l = static_cast<size_t>(line);
        remaining_[l] = across_.offset[l + 1] - across_.offset[l];
        for (int32_t t = across_.offset[l]; t < across_.offset[l + 1]; ++t) {
            const auto u = static_cast<size_t>(across_.first[l] + t - across_.offset[l]);
            contributions_[static_cast<size_t>(filled[u]++)] = {
                line, across_.weights[static_cast<size_t>(t)]};
        }
    }
    flat_.assign(static_cast<size_t>(lines) * 4, 0);
    open_.assign(static_cast<size_t>(lines), -1);
    arrived_.assign(static_cast<size_t>(storedHeight), false);
    filtered_.resize(static_cast<size_t>(along_.outputs()) * 4);
    line_.resize(sumWidth_);
}

const uint8_t* RowScaler::uprightAlong(const Pixel* row) {
    if (!axes_.alongReversed) return bytesOf(row);
    reversed_.resize(static_cast<size_t>(storedWidth_));
    std::reverse_copy(row, row + storedWidth_, reversed_.begin());
    return bytesOf(reversed_.data());
}

int32_t* RowScaler::sumsOf(int line) {
    int32_t& index = open_[static_cast<size_t>(line)];
    if (index < 0) {
        if (freeSums_.empty()) {
            sums_.emplace_back(sumWidth_, 0);
            index = static_cast<int32_t>(sums_.size() - 1);
        } else {
            index = freeSums_.back();
            freeSums_.pop_back();
            std::fill(sums_[static_cast<size_t>(index)].begin(),
                      sums_[static_cast<size_t>(index)].end(), 0);
        }
    }
    return sums_[static_cast<size_t>(index)].data();
}

void RowScaler::addRow(int storedY, const Pixel* row) {
    if (storedY < 0 || storedY >= storedHeight_ || arrived_[static_cast<size_t>(storedY)]) return;
    arrived_[static_cast<size_t>(storedY)] = true;
    const uint8_t* bytes = uprightAlong(row);
    if (alongFirst_) {
        filterLine(bytes, along_, filtered_.data());
        bytes = filtered_.data();
    }
    const auto u =
        static_cast<size_t>(axes_.acrossReversed ? storedHeight_ - 1 - storedY : storedY);
    for (int32_t c = contributionStart_[u]; c < contributionStart_[u + 1]; ++c) {
        const Contribution to = contributions_[static_cast<size_t>(c)];
        addWeighted(sumsOf(to.line), bytes, to.weight, sumWidth_);
        if (--remaining_[static_cast<size_t>(to.line)] == 0) lineDone(to.line);
    }
}

void RowScaler::addFlatRow(int storedY, Pixel colour) {
    if (storedY < 0 || storedY >= storedHeight_ || arrived_[static_cast<size_t>(storedY)]) return;
    arrived_[static_cast<size_t>(storedY)] = true;
    uint8_t bytes[4];
    std::memcpy(bytes, &colour, sizeof bytes);
    const auto u =
        static_cast<size_t>(axes_.acrossReversed ? storedHeight_ - 1 - storedY : storedY);
    for (int32_t c = contributionStart_[u]; c < contributionStart_[u + 1]; ++c) {
        const Contribution to = contributions_[static_cast<size_t>(c)];
        int32_t* flat = &flat_[static_cast<size_t>(to.line) * 4];
        for (int k = 0; k < 4; ++k) flat[k] += to.weight * bytes[k];
        if (--remaining_[static_cast<size_t>(to.line)] == 0) lineDone(to.line);
    }
}

// Every row the line reads has come: its sums become bytes, through the
// second pass when the first went across the rows.
void RowScaler::lineDone(int line) {
    const int32_t* flat = &flat_[static_cast<size_t>(line) * 4];
    int32_t& index = open_[static_cast<size_t>(line)];
    if (index >= 0) {
        int32_t* sums = sums_[static_cast<size_t>(index)].data();
        if (flat[0] != 0 || flat[1] != 0 || flat[2] != 0 || flat[3] != 0) {
            for (size_t k = 0; k < sumWidth_; k += 4)
                for (size_t c = 0; c < 4; ++c) sums[k + c] += flat[c];
        }
        normaliseAll(sums, line_.data(), sumWidth_);
        freeSums_.push_back(index);
        index = -1;
    } else {
        for (size_t k = 0; k < sumWidth_; k += 4)
            for (size_t c = 0; c < 4; ++c) line_[k + c] = normalise(flat[c]);
    }
    if (alongFirst_) {
        placeLine(line, line_.data());
    } else {
        filterLine(line_.data(), along_, filtered_.data());
        placeLine(line, filtered_.data());
    }
}

void RowScaler::placeLine(int line, const uint8_t* bytes) {
    const int length = along_.outputs();
    if (!axes_.swapped) {
        std::memcpy(&output_.at(0, line), bytes, static_cast<size_t>(length) * sizeof(Pixel));
        return;
    }
    for (int i = 0; i < length; ++i)
        std::memcpy(&output_.at(line, i), bytes + static_cast<size_t>(i) * 4, sizeof(Pixel));
}

Image RowScaler::finish(Pixel fill) {
    for (int y = 0; y < storedHeight_; ++y)
        if (!arrived_[static_cast<size_t>(y)]) addFlatRow(y, fill);
    sums_.clear();
    return std::move(output_);
}

}  // namespace pictavo::imaging
