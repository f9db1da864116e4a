#include "adapters/ghostscript/ppm_stream.h"

#include <cctype>
#include <cstdlib>
#include <new>

namespace pictavo::platform {

namespace {

Error unexpected() {
    return makeError("EPS rendering failed: unexpected output from Ghostscript");
}

}  // namespace

// "P6 <width> <height> 255" with "#" comments, then one white space byte.
bool PpmStream::readHeader(uint8_t byte) {
    const char c = static_cast<char>(byte);
    if (comment_) {
        if (c == '\n') comment_ = false;
        return true;
    }
    if (c == '#' && token_.empty()) {
        comment_ = true;
        return true;
    }
    if (!std::isspace(static_cast<unsigned char>(c))) {
        if (token_.size() > 16) return false;
        token_ += c;
        return true;
    }
    if (token_.empty()) return true;
    const bool fits = tokens_ == 0   ? token_ == "P6"
                      : tokens_ == 1 ? std::atoi(token_.c_str()) == width_
                      : tokens_ == 2 ? std::atoi(token_.c_str()) == height_
                                     : token_ == "255";
    if (!fits) return false;
    token_.clear();
    if (++tokens_ == 4) {
        // The white space after the maximum is the header's last byte.
        headerDone_ = true;
        try {
            image_ = imaging::Image(width_, height_);
        } catch (const std::bad_alloc&) {
            fault_ = "not enough memory";
        }
    }
    return true;
}

void PpmStream::feed(std::span<const uint8_t> bytes) {
    if (!bytes.empty()) started_ = true;
    size_t at = 0;
    while (!headerDone_ && fault_.empty() && at < bytes.size()) {
        if (!readHeader(bytes[at++])) fault_ = "unexpected";
    }
    if (!headerDone_ || !fault_.empty()) return;
    const uint64_t total = uint64_t{image_.pixels.size()} * 3;
    for (; at < bytes.size() && samples_ < total; ++at, ++samples_) {
        const auto channel = static_cast<size_t>(samples_ % 3);
        pending_[channel] = bytes[at];
        if (channel == 2) {
            image_.pixels[static_cast<size_t>(samples_ / 3)] =
                imaging::rgb(pending_[0], pending_[1], pending_[2]);
        }
    }
}

Result<imaging::Image> PpmStream::finish() {
    if (fault_ == "not enough memory") return makeError(fault_);
    if (!fault_.empty() || !headerDone_) return unexpected();
    if (samples_ < uint64_t{image_.pixels.size()} * 3) {
        return makeError("EPS rendering failed: output cut short");
    }
    return std::move(image_);
}

}  // namespace pictavo::platform
