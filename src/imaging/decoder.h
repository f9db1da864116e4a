#pragma once
// One decoder per picture format behind one interface. The decoder choice asks
// every decoder how sure it is that some bytes are its format and lets the
// surest one decode them.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "imaging/byte_source.h"
#include "imaging/image.h"
#include "imaging/limits.h"
#include "imaging/target.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging {

// How sure a decoder is that bytes are its format.
enum class Confidence : int {
    None = 0,
    Weak = 1,    // a plausible header without a signature (TGA, PCX)
    Strong = 2,  // a signature of several bytes (PNG, JPEG, BMP)
};

struct DecodeRequest {
    std::span<const uint8_t> bytes;
    std::string_view fileName;  // the extension is a hint only
    // What the caller will do with the picture (imaging/target.h): the
    // whole of it, or what a screen shows of it, delivered directly.
    Target target = {};
    // The picture's work allowance and its cancel flag, shared by every
    // decoder the request is handed on to (an EPS file's preview, say).
    std::shared_ptr<WorkMeter> work = std::make_shared<WorkMeter>();
    // The whole file, when bytes holds only its beginning (a big file is not
    // read whole). Decoders that read in pieces take what they need from it;
    // the others are given the whole file in bytes.
    const ByteSource* source = nullptr;
};

// The file of a request as a source of pieces: its source, or its bytes.
class RequestFile {
  public:
    explicit RequestFile(const DecodeRequest& request)
        : memory_(request.bytes), file_(request.source ? *request.source : memory_) {}
    RequestFile(const RequestFile&) = delete;
    RequestFile& operator=(const RequestFile&) = delete;
    const ByteSource& operator*() const { return file_; }
    const ByteSource* operator->() const { return &file_; }

  private:
    MemorySource memory_;
    const ByteSource& file_;
};

class Decoder {
  public:
    virtual ~Decoder() = default;
    virtual std::string_view name() const = 0;
    virtual Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const = 0;
    // File-name extensions of the format, lower case without the dot. The
    // decoder choice uses them only to choose between equally sure decoders.
    virtual std::span<const std::string_view> extensions() const { return {}; }
    // True when the decoder reads the file through request.source a piece at
    // a time; the others get the whole file in request.bytes, up to
    // largestWholeFile(the file's beginning) bytes ("file too large: N MB"
    // above it).
    virtual bool readsInPieces() const { return false; }
    virtual uint64_t largestWholeFile(std::span<const uint8_t>) const { return kMaxWholeFileBytes; }
    virtual Result<Image> decode(const DecodeRequest& request) const = 0;
};

using DecoderList = std::vector<std::unique_ptr<Decoder>>;

}  // namespace pictavo::imaging
