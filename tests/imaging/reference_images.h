#pragma once
// Helpers for comparing our decoders with other programs: reading the
// reference pictures they write (PNG, PAM, PPM, PGM), running them, and
// naming the first pixel where two pictures part.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "imaging/image.h"

namespace pictavo::imaging::testing {

std::filesystem::path samplesDir();
std::vector<uint8_t> readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// Nothing (and canReadPng() false) in a build without libpng.
std::optional<Image> readPng(const std::filesystem::path& path);
bool canReadPng();
// Netpbm's P5, P6 and P7 (with or without alpha), 8 bits per sample.
std::optional<Image> readNetpbm(const std::filesystem::path& path);
void writePpm(const std::filesystem::path& path, const Image& image);

// Runs a shell command quietly; true when it exits with 0.
bool run(const std::string& command);
bool toolAvailable(const std::string& tool);

// A fresh folder removed again at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

struct Tolerance {
    int perChannel = 0;        // largest difference allowed in any channel
    bool ignoreAlpha = false;  // compare colours only
};

// The picture as GraphicsMagick reads it; source may carry a frame
// selector ("file.dcx[0]"). nullopt when gm cannot read it.
std::optional<Image> readWithGraphicsMagick(const std::string& source, const TempDir& temp);
// The picture as a netpbm converter ("bmptopnm", "pcxtoppm"...) reads it.
std::optional<Image> readWithNetpbm(const std::string& tool, const std::filesystem::path& file,
                                    const TempDir& temp);

// "" when equal (within tolerance), else where and how they differ.
std::string differences(const Image& expected, const Image& actual, Tolerance tolerance = {});

// A picture with every pixel different: gradients in three directions.
Image testPattern(int width, int height);

}  // namespace pictavo::imaging::testing
