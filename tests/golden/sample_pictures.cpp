#include "golden/sample_pictures.h"

#include <algorithm>
#include <string>
#include <vector>

#include "golden/picture_decoders.h"
#include "imaging/decoder_choice.h"
#include "imaging/reference_images.h"

namespace pictavo::golden {

namespace {

namespace fs = std::filesystem;

bool isPictureFile(const fs::path& path) {
    const std::string extension = path.extension().string();
    return extension != ".md" && extension != ".txt";
}

std::vector<std::string> filesUnder(const fs::path& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        if (!entry.is_regular_file() || !isPictureFile(entry.path())) continue;
        files.push_back(entry.path().lexically_relative(folder).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// "PREFIX/relative/path:LABEL  value" for every picture under folder.
void addFolder(Computed& computed, const std::string& prefix, const fs::path& folder) {
    const PictureDecoders decoders;
    for (const std::string& file : filesUnder(folder)) {
        const std::vector<uint8_t> bytes = imaging::testing::readBytes(folder / file);
        const std::string name = fs::path(file).filename().string();
        const imaging::Decoder* decoder = imaging::pickDecoder(decoders.list(), bytes, name);
        const std::string key = prefix + file + ":";
        if (!decoder) {
            computed.entries[key + "none"] = kFailed;
            continue;
        }
        imaging::DecodeRequest request{bytes, name};
        computed.entries[key + decoders.label(*decoder)] = decodedValue(decoder->decode(request));
    }
}

}  // namespace

Computed demoSamples() {
    Computed computed;
    addFolder(computed, kDemoSamplePrefix, fs::path(PICTAVO_SOURCE_DIR) / "samples");
    return computed;
}

std::vector<Skip> listedButAbsent(const fs::path& folder, const Entries& fileEntries) {
    std::vector<Skip> absent;
    const std::string prefix = kSharedSamplePrefix;
    for (auto at = fileEntries.lower_bound(prefix);
         at != fileEntries.end() && at->first.compare(0, prefix.size(), prefix) == 0; ++at) {
        const std::string file =
            at->first.substr(prefix.size(), at->first.rfind(':') - prefix.size());
        if (!fs::exists(folder / file))
            absent.push_back({prefix + file + ":", "not among the shared samples here"});
    }
    return absent;
}

Computed sharedSamples(const Entries& fileEntries) {
    Computed computed;
    const fs::path folder = imaging::testing::samplesDir();
    if (!fs::is_directory(folder)) {
        computed.skipped.push_back(
            {kSharedSamplePrefix, "no shared samples at " + folder.string()});
        return computed;
    }
    addFolder(computed, kSharedSamplePrefix, folder);
    const std::vector<Skip> absent = listedButAbsent(folder, fileEntries);
    computed.skipped.insert(computed.skipped.end(), absent.begin(), absent.end());
    computed.unlistedAllowedPrefix = kSharedSamplePrefix;
    return computed;
}

}  // namespace pictavo::golden
