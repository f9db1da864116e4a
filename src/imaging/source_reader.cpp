#include "imaging/source_reader.h"

#include <algorithm>

#include "imaging/errors.h"

namespace pictavo::imaging {

namespace {

// Big enough that reads are few, small enough to go unnoticed.
constexpr size_t kBufferBytes = size_t{256} << 10;

}  // namespace

SourceReader::SourceReader(const ByteSource& source, uint64_t offset)
    : source_(source), position_(offset), failed_(offset > source.size()) {}

Error SourceReader::failure() const {
    return readError_ ? *readError_ : fileTruncated();
}

std::span<const uint8_t> SourceReader::take(size_t count) {
    if (count > remaining() || failed_) {
        failed_ = true;
        position_ = size();
        return {};
    }
    if (count == 0) return {};
    if (!(position_ >= bufferStart_ && position_ + count <= bufferStart_ + filled_) &&
        !fill(count)) {
        failed_ = true;
        position_ = size();
        return {};
    }
    const auto at = static_cast<size_t>(position_ - bufferStart_);
    position_ += count;
    return {buffer_.data() + at, count};
}

// Makes the buffer hold count bytes from the position on, and as many more
// as fit, keeping the bytes it already holds from there.
bool SourceReader::fill(size_t count) {
    const size_t capacity = std::max(kBufferBytes, count);
    if (buffer_.size() < capacity) buffer_.resize(capacity);
    size_t kept = 0;
    if (position_ >= bufferStart_ && position_ < bufferStart_ + filled_) {
        const auto from = static_cast<size_t>(position_ - bufferStart_);
        kept = filled_ - from;
        std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(from),
                  buffer_.begin() + static_cast<std::ptrdiff_t>(filled_), buffer_.begin());
    }
    bufferStart_ = position_;
    filled_ = kept;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(capacity, remaining()));
    while (filled_ < wanted) {
        auto got = source_.read(bufferStart_ + filled_,
                                std::span<uint8_t>(buffer_).subspan(filled_, wanted - filled_));
        if (!got) {
            readError_ = got.error();
            return false;
        }
        if (*got == 0) break;  // the file shrank since it was opened
        filled_ += *got;
    }
    return filled_ >= count;
}

}  // namespace pictavo::imaging
