#include "hosts/win32/dib_surface.h"

#include <algorithm>
#include <utility>

#include "hosts/win32/gdi_objects.h"
#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
constexpr uint32_t kOpaque = 0xFF000000u;

// The part of a w x h rectangle at (x, y) that lies on a width x height area.
RECT clipped(int x, int y, int w, int h, int width, int height) {
    RECT rect{std::max(x, 0), std::max(y, 0), std::min(x + w, width), std::min(y + h, height)};
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    return rect;
}

bool isEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}
}  // namespace

uint32_t pixelOf(Colour colour) {
    COLORREF ref = toColorRef(colour);
    return kOpaque | (uint32_t{GetRValue(ref)} << 16) | (uint32_t{GetGValue(ref)} << 8) |
           GetBValue(ref);
}

DibSurface::DibSurface(int width, int height, Colour fill) {
    dc_ = CreateCompatibleDC(nullptr);
    allocate(width, height);
    clear(fill);
    anyChange_ = false;
}

DibSurface::~DibSurface() {
    if (gate_ != nullptr) gate_->release(this);
    release();
    if (dc_ != nullptr) DeleteDC(dc_);
}

void DibSurface::allocate(int width, int height) {
    release();
    if (width <= 0 || height <= 0 || dc_ == nullptr) return;
    BITMAPINFO info = topDownDibInfo(width, height);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_ == nullptr) return;  // out of memory: the surface stays empty
    bits_ = static_cast<uint32_t*>(bits);
    originalBitmap_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
}

void DibSurface::release() {
    if (bitmap_ != nullptr) {
        SelectObject(dc_, originalBitmap_);
        DeleteObject(bitmap_);
    }
    bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

void DibSurface::resize(int width, int height) {
    if (width == width_ && height == height_) return;
    allocate(width, height);
    markChanged(0, 0, width_, height_);
}

void DibSurface::resizeKeeping(int width, int height, Colour fill) {
    if (width == width_ && height == height_) return;
    imaging::Image old = snapshot();
    allocate(width, height);
    clear(fill);
    drawImage(old, 0, 0);
}

void DibSurface::markChanged(int x, int y, int w, int h) {
    RECT rect = clipped(x, y, w, h, width_, height_);
    if (isEmpty(rect)) return;
    if (!anyChange_) {
        changed_ = rect;
        anyChange_ = true;
    } else {
        UnionRect(&changed_, &changed_, &rect);
    }
}

void DibSurface::present() {
    if (!anyChange_) return;
    if (gate_ != nullptr && !gate_->frameDue()) {
        gate_->hold(this);
        return;
    }
    presentNow();
}

void DibSurface::presentNow() {
    if (!anyChange_) return;
    anyChange_ = false;
    if (presenter_) presenter_(changed_);
    if (gate_ != nullptr) gate_->framePresented();
}

void FrameGate::presentHeld() {
    std::vector<DibSurface*> held;
    held.swap(held_);
    for (DibSurface* surface : held) surface->presentNow();
}

PixelView DibSurface::pixels() {
    // The CPU reads and writes the bits: GDI's batched drawing lands first.
    GdiFlush();
    return {bits_, width_, height_};
}

ConstPixelView DibSurface::pixels() const {
    GdiFlush();
    return {bits_, width_, height_};
}

ConstPixelView DibSurface::sourcePixels(const Surface& src, imaging::Image& fallback) {
    if (const auto* dib = dynamic_cast<const DibSurface*>(&src)) return dib->pixels();
    fallback = src.snapshot();
    return viewOf(std::as_const(fallback));
}

void DibSurface::copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) {
    if (w <= 0 || h <= 0 || bits_ == nullptr) return;
    imaging::Image fallback;
    copyPixels(sourcePixels(src, fallback), pixels(), dx, dy, w, h, sx, sy);
    markChanged(dx, dy, w, h);
}

void DibSurface::stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy,
                             int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || bits_ == nullptr) return;
    imaging::Image fallback;
    stretchPixels(sourcePixels(src, fallback), pixels(), sx, sy, sw, sh, dx, dy, dw, dh);
    markChanged(dx, dy, dw, dh);
}

void DibSurface::clear(Colour colour) {
    if (bits_ == nullptr) return;
    fillPixels(pixels(), pixelOf(colour));
    markChanged(0, 0, width_, height_);
}

void DibSurface::drawImage(const imaging::Image& image, int x, int y) {
    if (bits_ == nullptr || image.empty()) return;
    copyPixels(viewOf(image), pixels(), x, y, image.width, image.height, 0, 0);
    markChanged(x, y, image.width, image.height);
}

void DibSurface::printLine(std::string_view text, const Font& font, Colour colour) {
    UniqueFont gdiFont = createFont(font);
    HGDIOBJ previousFont = SelectObject(dc_, gdiFont.get());
    int previousMode = SetBkMode(dc_, TRANSPARENT);
    COLORREF previousColour = SetTextColor(dc_, toColorRef(colour));
    std::wstring wide = toWide(text);
    int length = static_cast<int>(wide.size());
    TextOutW(dc_, printX_, printY_, wide.c_str(), length);
    SIZE extent{};
    GetTextExtentPoint32W(dc_, wide.c_str(), length, &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    SetTextColor(dc_, previousColour);
    SetBkMode(dc_, previousMode);
    SelectObject(dc_, previousFont);
    // Italic and bold glyphs may reach past the advance width.
    markChanged(printX_, printY_, extent.cx + metrics.tmOverhang + metrics.tmMaxCharWidth,
                metrics.tmHeight);
    printX_ = 0;
    printY_ += metrics.tmHeight + metrics.tmExternalLeading;
}

void DibSurface::setPrintPosition(int x, int y) {
    printX_ = x;
    printY_ = y;
}

imaging::Image DibSurface::snapshot() const {
    imaging::Image image(width_, height_);
    if (bits_ == nullptr) return image;
    const imaging::Pixel* bits = pixels().pixels;
    // What the window shows: the DIB ignores the alpha byte.
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = bits[i] | kOpaque;
    return image;
}

}  // namespace pictavo::platform::win32
