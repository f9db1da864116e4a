#pragma once
// Golden entries of sample pictures decoded whole, each by the decoder the
// Linux build picks for it: the demo pictures in the checkout's samples/,
// and the shared samples beside the checkout, read in place. The shared
// folder may be absent or hold another set elsewhere: what is not there is
// reported, not failed, and what the golden file lacks is reported too.

#include <filesystem>
#include <vector>

#include "golden/golden_file.h"

namespace pictavo::golden {

inline constexpr const char* kDemoSamplePrefix = "sample/demo/";
inline constexpr const char* kSharedSamplePrefix = "sample/shared/";

Computed demoSamples();
// The golden file's shared-sample entries whose file is not in folder.
std::vector<Skip> listedButAbsent(const std::filesystem::path& folder, const Entries& fileEntries);
// fileEntries: the golden file's entries, to tell which listed samples are
// missing here.
Computed sharedSamples(const Entries& fileEntries);

}  // namespace pictavo::golden
