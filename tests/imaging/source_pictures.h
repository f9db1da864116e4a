#pragma once
// The pictures and programs the decoder tests hand to other programs to
// write files from, in one place, so that the golden hashes are taken of the
// very files the tests decode.

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/image.h"

namespace pictavo::imaging::testing {

// A picture with smooth areas, edges and fine detail, different in every
// corner, so that a mirrored, turned or shifted copy never matches.
Image wavePattern(int width, int height);

// 45 x 19 pixels of 12 colours in tiles, which fits a colour map.
Image twelveColourTiles();

// 90 x 20 pixels: green, a white band across the middle third, green again.
Image greenWhiteBands();

// The JPEG with an APP1 segment holding a big-endian EXIF block with one
// orientation entry, put right after the start-of-image marker.
std::vector<uint8_t> withExifOrientation(std::vector<uint8_t> jpeg, int orientation);

// A 72 x 36 point EPS: a red square on the left, a blue one on the right.
extern const char* const kEpsSquare;

// A Python program that writes one drawing as ARG.dxf (text), ARG-binary.dxf
// (ezdxf's binary encoding) and ARG.eps (the same shapes in PostScript, on a
// page that is the drawing's extents plus the 2% margin the DXF decoder
// adds, 4 points to the drawing unit).
extern const char* const kEzdxfWriter;

// The Pythons that may have ezdxf, in the order to try them: Debian's ezdxf
// belongs to the system's Python, which may not be the first python3 on the
// PATH.
extern const char* const kPythonsForEzdxf[2];

// The first of them that has ezdxf ("" when none has), asked through run, a
// command runner that tells whether the command succeeded.
std::string pythonWithEzdxf(bool (*run)(const std::string& command));

}  // namespace pictavo::imaging::testing
