#pragma once
// Pictures for the decoder tests: sample files read in place, files written
// at test time by command-line tools, and ways to compare decoded pixels.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "imaging/decoder.h"
#include "imaging/image.h"

namespace pictavo::imaging::testing {

std::vector<uint8_t> readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// A sample under the shared samples folder, or nullopt when it is absent.
std::optional<std::filesystem::path> sample(const std::string& relative);

// Runs a shell command; true when it exits with 0.
bool run(const std::string& command);
bool haveTool(const std::string& name);

// Reads binary PBM, PGM and PPM (P4, P5, P6); 16-bit samples are scaled to
// 8 bits with rounding. Black is 1 in a PBM.
Image readPnm(const std::filesystem::path& path);
// Writes a P6 file.
void writePpm(const std::filesystem::path& path, const Image& image);

// wavePattern of source_pictures.h: smooth areas, edges and fine detail,
// different in every corner.
Image testPattern(int width, int height);

// The part of image at x, y of the given size.
Image crop(const Image& image, int x, int y, int width, int height);

// Largest difference of one colour channel; INT_MAX when the sizes differ.
int maxDifference(const Image& a, const Image& b);
double meanDifference(const Image& a, const Image& b);

Result<Image> decodeBytes(const Decoder& decoder, const std::vector<uint8_t>& bytes,
                          const std::string& fileName = "", const Target& target = {});

// Each test gets its own folder for the files it writes.
class ScratchFolderTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::filesystem::path file(const std::string& name) const { return folder_ / name; }
    std::string quoted(const std::string& name) const { return "'" + file(name).string() + "'"; }

  private:
    std::filesystem::path folder_;
};

}  // namespace pictavo::imaging::testing
