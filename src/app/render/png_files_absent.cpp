// pictavo-render built without libpng (the 32-bit test build): it decodes,
// stages and plays as the other builds do, and refuses to write PNG files, with
// the reason.

#include "app/render/png_writer.h"

namespace pictavo::render {

namespace {
Error withoutLibpng(const std::string& path) {
    return makeError("cannot use '" + path + "': this build has no libpng");
}
}  // namespace

Result<void> writePng(const std::string& path, const imaging::Image&) {
    return withoutLibpng(path);
}

}  // namespace pictavo::render
