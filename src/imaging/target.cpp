#include "imaging/target.h"

#include <algorithm>

#include "imaging/limits.h"

namespace pictavo::imaging {

std::optional<PixelSize> fitIntoBox(int width, int height, int boxWidth, int boxHeight) {
    if (boxWidth <= 0 || boxHeight <= 0 || width <= 0 || height <= 0) return std::nullopt;
    const double scale =
        std::min(static_cast<double>(boxWidth) / width, static_cast<double>(boxHeight) / height);
    return PixelSize{std::max(1, static_cast<int>(width * scale)),
                     std::max(1, static_cast<int>(height * scale))};
}

PixelSize deliveredSize(const Target& target, int width, int height) {
    if (!target.given()) return {width, height};
    switch (target.fit) {
        case Fit::Stretch:
            return {target.width, target.height};
        case Fit::Box:
            return fitIntoBox(width, height, target.width, target.height)
                .value_or(PixelSize{width, height});
        case Fit::Whole:
        case Fit::AtLeast:
        case Fit::Centre:
            break;
    }
    return {width, height};
}

PixelSize coverSize(const Target& target, int width, int height) {
    if (!target.scales()) return {};
    if (target.fit == Fit::AtLeast) return {target.width, target.height};
    return deliveredSize(target, width, height);
}

Result<void> checkPictureSize(const Target& target, int64_t width, int64_t height) {
    return target.bounded() ? checkStagedSize(width, height) : checkPictureSize(width, height);
}

}  // namespace pictavo::imaging
