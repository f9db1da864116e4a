#pragma once
// A decoding thread of the Linux hosts: SIGTERM, SIGINT and SIGHUP go to
// the window's thread, whose loop ends the program on them, and never cut
// a read or a wait of the decoding thread short.

#include <memory>

#include "platform/decoding_thread.h"

namespace pictavo::platform::posix {

std::unique_ptr<DecodingThreadScope> holdTerminationSignals();

}  // namespace pictavo::platform::posix
