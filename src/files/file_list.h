#pragma once
// The rules of a file list control: the plain files of one folder whose
// names match a pattern list, in name order. The slide show's picture list,
// the preview's and the configuration dialog's file list all use them.

#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "platform/file_system.h"

namespace pictavo::files {

// The sixteen picture formats, in the order they are offered.
inline constexpr const char* kPicturePatterns =
    "*.bmp;*.dib;*.dcx;*.dxf;*.eps;*.fmf;*.img;*.jpg;*.pcx;*.pcd;*.png;*.rle;*.tga;*.tif;*.wpg;*."
    "wmf";

// Matches name against one pattern with * and ?, without regard to case.
bool matchesPattern(std::string_view name, std::string_view pattern);
// Matches name against any pattern of a semicolon-separated list.
bool matchesPatternList(std::string_view name, std::string_view patterns);

// The matching plain files of folder (no folders, no hidden or system
// files), sorted by name without regard to case. An error when the folder
// cannot be read.
Result<std::vector<std::string>> listFiles(const platform::FileSystem& files,
                                           const std::string& folder, std::string_view patterns);

// The sub-folders of folder, sorted the same way, hidden ones left out.
Result<std::vector<std::string>> listFolders(const platform::FileSystem& files,
                                             const std::string& folder);

}  // namespace pictavo::files
