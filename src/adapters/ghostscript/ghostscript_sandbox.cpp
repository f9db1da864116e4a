#include "adapters/ghostscript/ghostscript_sandbox.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

namespace pictavo::platform {

Result<GhostscriptSandbox> GhostscriptSandbox::make() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string pattern = (base / "pictavo-gs-XXXXXX").string();
    // mkdtemp makes the folder for its owner alone.
    if (mkdtemp(pattern.data()) == nullptr)
        return makeError("cannot start Ghostscript: no folder for it to run in");
    return GhostscriptSandbox(std::move(pattern));
}

GhostscriptSandbox::GhostscriptSandbox(GhostscriptSandbox&& other) noexcept
    : folder_(std::move(other.folder_)) {
    other.folder_.clear();
}

GhostscriptSandbox::~GhostscriptSandbox() {
    if (folder_.empty()) return;
    std::error_code ignored;
    // Symbolic links Ghostscript made are removed, never what they point at.
    std::filesystem::remove_all(folder_, ignored);
}

std::vector<std::string> GhostscriptSandbox::environment() const {
    return {"TMPDIR=" + folder_, "TEMP=" + folder_, "TMP=" + folder_};
}

}  // namespace pictavo::platform
