#pragma once
// How the decoder tests have other programs write their pictures: the
// source picture, the command and the decoder that reads the result.

#include <string>
#include <vector>

namespace pictavo::golden {

// What SOURCE names in a recipe's command: a PPM of wavePattern (the tests
// of the formats read through system libraries, GEM and Photo CD) or of
// testPattern (the tests of our BMP, PCX, TGA and Utah RLE decoders), of
// the twelve-colour tiles or the bands; the EPS square; the folder where
// ezdxf wrote the DXF tests' drawing; or a shared sample.
struct Source {
    enum Kind { Wave, Ramp, Tiles, Bands, EpsSquare, EzdxfDrawing, SharedSample } kind;
    int width = 0;
    int height = 0;
    const char* sample = "";  // SharedSample: its path in the shared samples
};

struct Request {
    int width = 0;
    int height = 0;
    bool centreCrop = false;
    int exifOrientation = 0;  // put into the written JPEG when not 0
};

struct Recipe {
    std::string name;     // the key after "made/LABEL/"
    std::string decoder;  // Decoder::name()
    std::vector<std::string> tools;
    Source source;
    // Run in the recipe's own folder; SOURCE and OUT are replaced.
    std::string command;
    std::string out;  // the written file's name (GraphicsMagick goes by its extension)
    Request request;
};

// Every picture, in the order the tests of each format write them.
std::vector<Recipe> recipes();

}  // namespace pictavo::golden
