#pragma once
// Ghostscript's page as it comes down the pipe: a binary PPM ("P6", width,
// height, 255, then the rows), turned into a picture as it arrives, so that
// only the picture is ever held, never the PPM besides it.

#include <cstdint>
#include <span>
#include <string>

#include "common/result.h"
#include "imaging/image.h"

namespace pictavo::platform {

class PpmStream {
  public:
    // The page must be width x height pixels; anything else is refused.
    PpmStream(int width, int height) : width_(width), height_(height) {}

    // Takes the next bytes; those after the first page are ignored (the
    // PostScript's own showpage may add another).
    void feed(std::span<const uint8_t> bytes);
    // True once any byte has come.
    bool started() const { return started_; }
    // The picture, or why there is none.
    Result<imaging::Image> finish();

  private:
    bool readHeader(uint8_t byte);

    int width_;
    int height_;
    bool started_ = false;
    // The header: its tokens so far, and the one being read.
    int tokens_ = 0;
    std::string token_;
    bool comment_ = false;
    bool headerDone_ = false;
    std::string fault_;
    imaging::Image image_;
    uint64_t samples_ = 0;  // channel values of the rows received so far
    uint8_t pending_[3] = {0, 0, 0};
};

}  // namespace pictavo::platform
