#pragma once
// A picture file to an image, as the saver reads it: the format sniffed by
// content, the picture decoded for what the caller will show, transparent
// parts laid on black. A call holds nothing afterwards: the image is the
// caller's, and a failure leaves nothing behind.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "common/result.h"
#include "imaging/byte_source.h"
#include "imaging/decoder.h"
#include "imaging/image.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging {

class PostScriptRenderer;

// Every decoder the saver reads with: platformDecoders from the host (JPEG,
// PNG, TIFF through system libraries) first, then ours for the other
// formats. postScript draws EPS files where the platform has an
// interpreter; without one they show their embedded preview. The list is
// shared and never changes: the EPS decoder reads previews through it.
std::shared_ptr<const DecoderList> pictureDecoders(
    DecoderList platformDecoders, std::shared_ptr<const PostScriptRenderer> postScript = nullptr);

struct PictureRequest {
    const DecoderList& decoders;
    std::string_view fileName;  // the extension is a hint only
    // The file: its bytes in memory, or (when file is set) a source read a
    // piece at a time; a big file is then read whole only for a decoder
    // that cannot work from pieces (a drawing's).
    std::span<const uint8_t> bytes = {};
    const ByteSource* file = nullptr;
    // What the caller will show (imaging/target.h): the whole picture, or
    // the picture scaled to a screen or a box, or a screen's window of it,
    // delivered directly in the memory of what is shown.
    Target target = {};
    // The decode's allowance and cancel flag: a cancelled decode fails with
    // "decoding cancelled". None: a fresh allowance.
    std::shared_ptr<WorkMeter> work = nullptr;
};

// The decoded picture, or why not ("file is empty", "unsupported format",
// "file is truncated", "picture too large: 40000 x 40000").
Result<Image> decodePicture(const PictureRequest& request);

// 2 to the power of the picture's bits per pixel, at most 16777216; 0 for
// no picture.
int64_t colourCount(const Image& image);

}  // namespace pictavo::imaging
