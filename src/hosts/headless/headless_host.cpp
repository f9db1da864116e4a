#include "hosts/headless/headless_host.h"

namespace pictavo::platform::headless {

HeadlessHost::HeadlessHost() {
    loop_.setAliveCheck([this] { return forms_.anyLoaded(); });
}

imaging::DecoderList HeadlessHost::platformDecoders() {
    return decoderSource_ ? decoderSource_() : imaging::DecoderList{};
}

}  // namespace pictavo::platform::headless
