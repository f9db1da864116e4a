#pragma once
// What a thread that decodes pictures holds from the platform while it
// runs: COM for the imaging component on Windows; on Linux, the
// termination signals kept for the window's thread, whose loop acts on them.

namespace pictavo::platform {

class DecodingThreadScope {
  public:
    virtual ~DecodingThreadScope() = default;
};

}  // namespace pictavo::platform
