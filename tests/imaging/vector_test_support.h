#pragma once
// Helpers of the vector decoder tests: files in and out, the reference tools
// of the test machine, and ways to compare two renderings of one drawing.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/image.h"

namespace pictavo::imaging::testing {

// The shared sample pictures: PICTAVO_SAMPLES_DIR from the environment when
// set (a worktree beside the checkout), else the folder the build names.
std::filesystem::path samplesDirectory();

std::vector<uint8_t> readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// Whether a program is on the PATH.
bool haveTool(const std::string& name);
// Runs a shell command; true when it exits with 0.
bool run(const std::string& command);

// Binary PPM (P6) in and out; an empty image when the file is not one.
Image readPpm(const std::filesystem::path& path);
void writePpm(const std::filesystem::path& path, const Image& image);
// Any picture GraphicsMagick reads, through a PPM.
Image readWithGraphicsMagick(const std::filesystem::path& path);

// Area-average resampling, to compare renderings made at different sizes.
Image scaleTo(const Image& image, int width, int height);
// The smallest part of the image that holds all its ink (pixels unlike the
// page colour); the image itself when it has none.
Image cropToInk(const Image& image, Pixel page);
// Mean absolute difference of the grey levels (0 to 255).
double meanGreyDifference(const Image& a, const Image& b);
// Share of pixels (0 to 1) that differ from the page colour by more than 32.
double inkCoverage(const Image& image, Pixel page);
// The page colour: the colour of the four corners when they agree.
Pixel cornerColour(const Image& image);

}  // namespace pictavo::imaging::testing
