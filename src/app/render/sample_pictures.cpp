#include "app/render/sample_pictures.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "hosts/shared/bitmap_font.h"
#include "hosts/shared/memory_surface.h"

namespace pictavo::render {

namespace {

// A word in large letters, centred, in the built-in font.
void printCentred(platform::MemorySurface& surface, std::string_view word,
                  platform::Colour colour) {
    const int lineHeight = std::max(8, surface.height() / 3);
    const double unit = static_cast<double>(lineHeight) / platform::kCellHeightUnits;
    const double textWidth = unit * platform::kCellWidthUnits * static_cast<double>(word.size());
    surface.setPrintPosition(static_cast<int>((surface.width() - textWidth) / 2),
                             (surface.height() - lineHeight) / 2);
    surface.printLine(word, platform::Font{"MS Sans Serif", lineHeight * 72.0 / 96.0, true},
                      colour);
}

}  // namespace

// Flat colours only: the pictures stay sharp and small in animated GIFs.
imaging::Image oldSamplePicture(int width, int height) {
    imaging::Image image(width, height);
    const double stripe = std::max(4.0, std::min(width, height) / 12.0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool light = static_cast<int>(std::floor((x + y) / stripe)) % 2 == 0;
            image.at(x, y) = light ? imaging::rgb(40, 90, 170) : imaging::rgb(20, 40, 100);
        }
    platform::MemorySurface surface(std::move(image));
    printCentred(surface, "OLD", platform::bgr(200, 220, 255));
    return surface.snapshot();
}

imaging::Image newSamplePicture(int width, int height) {
    imaging::Image image(width, height);
    const double cx = width / 2.0, cy = height / 2.0;
    const double ring = std::max(4.0, std::min(width, height) / 10.0);
    const double grid = std::max(8.0, std::min(width, height) / 6.0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const bool band = static_cast<int>(r / ring) % 2 == 0;
            const bool line = std::fmod(x, grid) < 1.0 || std::fmod(y, grid) < 1.0;
            image.at(x, y) = line   ? imaging::rgb(255, 250, 220)
                             : band ? imaging::rgb(250, 170, 30)
                                    : imaging::rgb(215, 60, 80);
        }
    platform::MemorySurface surface(std::move(image));
    printCentred(surface, "NEW", platform::bgr(40, 20, 0));
    return surface.snapshot();
}

}  // namespace pictavo::render
