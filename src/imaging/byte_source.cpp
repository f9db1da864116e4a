#include "imaging/byte_source.h"

#include "imaging/errors.h"

namespace pictavo::imaging {

Result<void> readExactly(const ByteSource& source, uint64_t offset, std::span<uint8_t> out) {
    size_t done = 0;
    while (done < out.size()) {
        auto got = source.read(offset + done, out.subspan(done));
        if (!got) return got.error();
        if (*got == 0) return fileTruncated();
        done += *got;
    }
    return {};
}

}  // namespace pictavo::imaging
