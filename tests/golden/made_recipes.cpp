#include "golden/made_recipes.h"

namespace pictavo::golden {

namespace {

Source wave(int width, int height) {
    return {Source::Wave, width, height};
}
Source ramp(int width, int height) {
    return {Source::Ramp, width, height};
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string requestText(const Request& request) {
    std::string text;
    if (request.exifOrientation != 0) text += "-exif" + std::to_string(request.exifOrientation);
    if (request.width > 0)
        text +=
            (request.centreCrop ? "-window-" : "-at-") + sizeText(request.width, request.height);
    return text;
}

// cjpeg at quality 90, as the JPEG tests write their pictures.
Recipe cjpeg(const std::string& options, int width, int height, Request request = {}) {
    std::string name = "cjpeg-q90";
    for (char c : options) name += c == ' ' ? '-' : c;
    name += "-" + sizeText(width, height) + requestText(request);
    return {name,
            "JPEG",
            {"cjpeg"},
            wave(width, height),
            "cjpeg -quality 90 " + options + " -outfile OUT SOURCE",
            "made.jpg",
            request};
}

void addJpegRecipes(std::vector<Recipe>& recipes) {
    recipes.push_back(cjpeg("-grayscale", 120, 90));
    recipes.push_back(cjpeg("-progressive", 120, 90));
    recipes.push_back(cjpeg("", 800, 600));
    recipes.push_back(cjpeg("", 800, 600, {300, 200}));
    for (const char* options : {"", "-progressive", "-sample 1x1"})
        recipes.push_back(cjpeg(options, 801, 603, {320, 240, true}));
    recipes.push_back(cjpeg("", 200, 100, {320, 240, true}));
    for (int orientation = 1; orientation <= 8; ++orientation) {
        recipes.push_back(cjpeg("-sample 1x1", 96, 64, {0, 0, false, orientation}));
        recipes.push_back(cjpeg("-sample 1x1", 96, 64, {40, 30, true, orientation}));
        recipes.push_back(cjpeg("-sample 1x1", 96, 64, {30, 45, false, orientation}));
    }
    recipes.push_back({"gm-cmyk-64x48",
                       "JPEG",
                       {"gm"},
                       wave(64, 48),
                       "gm convert SOURCE -colorspace CMYK OUT",
                       "cmyk.jpg",
                       {}});
}

void addPngRecipes(std::vector<Recipe>& recipes) {
    // How the PNG tests make each kind of file from the pattern: the
    // source.pnm for pnmtopng, and pnmtopng's options.
    struct Kind {
        const char* name;
        const char* makeSource;
        const char* options;
    };
#define GOLDEN_ALPHA "pgmramp -lr 37 29 > alpha.pgm && "
    const Kind kinds[] = {
        {"grey1", "pamditherbw -randomseed=1 SOURCE | pamtopnm > source.pnm", ""},
        {"grey2", "ppmtopgm SOURCE | pnmdepth 3 > source.pnm", ""},
        {"grey8", "ppmtopgm SOURCE > source.pnm", ""},
        {"grey16", "ppmtopgm SOURCE | pnmdepth 65535 | pamfunc -adder=1 > source.pnm", ""},
        {"rgb8", "cp SOURCE source.pnm", "-force"},
        {"rgb16", "pnmdepth 65535 SOURCE | pamfunc -adder=1 > source.pnm", ""},
        {"palette", "pnmquant 16 SOURCE > source.pnm", ""},
        {"palette-transparent", "pnmquant 16 SOURCE > source.pnm", "-transparent rgb:00/00/00"},
        {"grey-transparent", "ppmtopgm SOURCE > source.pnm", "-transparent rgb:80/80/80"},
        {"rgb-transparent", "cp SOURCE source.pnm", "-force -transparent rgb:80/80/80"},
        {"grey-alpha", GOLDEN_ALPHA "ppmtopgm SOURCE > source.pnm", "-alpha alpha.pgm"},
        {"rgb-alpha", GOLDEN_ALPHA "cp SOURCE source.pnm", "-alpha alpha.pgm"},
        {"rgb-alpha16",
         GOLDEN_ALPHA
         "pnmdepth 65535 SOURCE | pamfunc -adder=1 > source.pnm && "
         "pnmdepth 65535 alpha.pgm | pamfunc -adder=1 > a16.pgm && mv a16.pgm alpha.pgm",
         "-alpha alpha.pgm"},
        {"interlaced", "cp SOURCE source.pnm", "-force -interlace"},
        {"interlaced-palette", "pnmquant 8 SOURCE > source.pnm", "-interlace"},
    };
#undef GOLDEN_ALPHA
    for (const Kind& kind : kinds) {
        recipes.push_back(
            {std::string("pnmtopng-") + kind.name + "-37x29",
             "PNG",
             {"pnmtopng", "pnmquant", "pgmramp"},
             wave(37, 29),
             std::string(kind.makeSource) + " && pnmtopng " + kind.options + " source.pnm > OUT",
             "t.png",
             {}});
    }
    recipes.push_back({"pnmtopng-101x80-window-40x30",
                       "PNG",
                       {"pnmtopng"},
                       wave(101, 80),
                       "pnmtopng -force SOURCE > OUT",
                       "t.png",
                       {40, 30, true}});
    recipes.push_back({"pnmtopng-64x64",
                       "PNG",
                       {"pnmtopng"},
                       wave(64, 64),
                       "pnmtopng -force SOURCE > OUT",
                       "t.png",
                       {}});
}

void addTiffRecipes(std::vector<Recipe>& recipes) {
    const std::string strips = "pnmtotiff -rowsperstrip 7 SOURCE > OUT";
    recipes.push_back(
        {"pnmtotiff-strips7-90x61", "TIFF", {"pnmtotiff"}, wave(90, 61), strips, "made.tif", {}});
    recipes.push_back({"pnmtotiff-strips7-90x61-window-40x20",
                       "TIFF",
                       {"pnmtotiff"},
                       wave(90, 61),
                       strips,
                       "made.tif",
                       {40, 20, true}});
    for (int orientation = 2; orientation <= 8; ++orientation) {
        const std::string name =
            "pnmtotiff-strips7-50x31-orientation" + std::to_string(orientation);
        const std::string command =
            strips + " && tiffset -s 274 " + std::to_string(orientation) + " OUT";
        recipes.push_back(
            {name, "TIFF", {"pnmtotiff", "tiffset"}, wave(50, 31), command, "made.tif", {}});
        recipes.push_back({name + "-window-20x16",
                           "TIFF",
                           {"pnmtotiff", "tiffset"},
                           wave(50, 31),
                           command,
                           "made.tif",
                           {20, 16, true}});
    }
    recipes.push_back({"tiffcp-g3-lsb2msb-hopper_g4",
                       "TIFF",
                       {"tiffcp"},
                       {Source::SharedSample, 0, 0, "tif/hopper_g4.tif"},
                       "tiffcp -c g3 -f lsb2msb SOURCE OUT",
                       "page.fmf",
                       {}});
}

void addGemAndPhotoCdRecipes(std::vector<Recipe>& recipes) {
    recipes.push_back({"pbmtogem-37x28",
                       "GEM IMG",
                       {"pbmtogem", "pamditherbw", "pbmmake"},
                       wave(37, 23),
                       "pamditherbw -randomseed=1 SOURCE | pamtopnm > a.pbm && "
                       "(cat a.pbm; pbmmake -white 37 5 | pamtopnm) | pnmcat -tb > b.pbm && "
                       "pbmtogem b.pbm > OUT",
                       "b.img",
                       {}});
    recipes.push_back({"gm-768x512",
                       "Photo CD",
                       {"gm"},
                       wave(768, 512),
                       "gm convert SOURCE OUT",
                       "made.pcd",
                       {}});
}

// Our decoders' tests compare with the pattern itself, so the recipes are
// listed by name, the program to look for and the command.
void addBmpRecipes(std::vector<Recipe>& recipes) {
    const std::vector<std::vector<std::string>> bmp = {
        {"ppmtobmp-windows", "ppmtobmp", "ppmtobmp -windows SOURCE > OUT"},
        {"ppmtobmp-os2", "ppmtobmp", "ppmtobmp -os2 SOURCE > OUT"},
        {"gm-bmp3", "gm", "gm convert SOURCE bmp3:OUT"},
        {"gm-bmp2", "gm", "gm convert SOURCE bmp2:OUT"},
        {"gm-bmp4", "gm", "gm convert SOURCE bmp:OUT"},
        {"ppmtobmp-bpp8", "ppmtobmp", "pnmquant 256 SOURCE | ppmtobmp -bpp 8 > OUT"},
        {"ppmtobmp-bpp4", "ppmtobmp", "pnmquant 16 SOURCE | ppmtobmp -bpp 4 > OUT"},
        {"ppmtobmp-bpp1", "ppmtobmp", "pnmquant 2 SOURCE | ppmtobmp -bpp 1 > OUT"},
        {"ppmtobmp-os2-bpp8", "ppmtobmp", "pnmquant 200 SOURCE | ppmtobmp -os2 -bpp 8 > OUT"},
        {"gm-palette256", "gm", "gm convert SOURCE -colors 256 -type Palette bmp3:OUT"},
        {"gm-palette16", "gm", "gm convert SOURCE -colors 16 -type Palette bmp3:OUT"},
        {"gm-rle8", "gm", "gm convert SOURCE -colors 200 -type Palette -compress RLE bmp3:OUT"},
    };
    for (const auto& r : bmp)
        recipes.push_back({r[0] + "-61x37", "BMP", {r[1]}, ramp(61, 37), r[2], "made.bmp", {}});
}

void addPcxRecipes(std::vector<Recipe>& recipes) {
    // name, decoder, program, command
    const std::vector<std::vector<std::string>> pcx = {
        {"ppmtopcx-24bit", "PCX", "ppmtopcx", "ppmtopcx -24bit SOURCE > OUT"},
        {"ppmtopcx-8bit", "PCX", "ppmtopcx",
         "pnmquant 256 SOURCE > q.ppm && ppmtopcx -8bit q.ppm > OUT"},
        {"ppmtopcx-planes16", "PCX", "ppmtopcx",
         "pnmquant 16 SOURCE > q.ppm && ppmtopcx q.ppm > OUT"},
        {"ppmtopcx-packed16", "PCX", "ppmtopcx",
         "pnmquant 16 SOURCE > q.ppm && ppmtopcx -packed q.ppm > OUT"},
        {"ppmtopcx-planes1-2", "PCX", "ppmtopcx",
         "pnmquant 2 SOURCE > q.ppm && ppmtopcx -planes=1 q.ppm > OUT"},
        {"gm-pcx", "PCX", "gm", "gm convert SOURCE pcx:- > OUT"},
        {"gm-pcx-palette256", "PCX", "gm",
         "pnmquant 256 SOURCE > q.ppm && gm convert q.ppm -type Palette pcx:- > OUT"},
        {"gm-dcx-two-pages", "DCX", "gm",
         "pnmquant 16 SOURCE > q.ppm && gm convert q.ppm SOURCE dcx:- > OUT"},
    };
    for (const auto& r : pcx)
        recipes.push_back(
            {r[0] + "-53x21", r[1], {r[2], "pnmquant"}, ramp(53, 21), r[3], "made.pcx", {}});
}

void addTgaAndUtahRleRecipes(std::vector<Recipe>& recipes) {
    const std::vector<std::vector<std::string>> tga = {
        {"ppmtotga-rgb-norle", "ppmtotga", "ppmtotga -rgb -norle SOURCE > OUT"},
        {"ppmtotga-rgb", "ppmtotga", "ppmtotga -rgb SOURCE > OUT"},
        {"gm-none", "gm", "gm convert SOURCE -compress None tga:OUT"},
        {"gm-rle", "gm", "gm convert SOURCE -compress RLE tga:OUT"},
        {"ppmtotga-mono", "ppmtotga", "ppmtopgm SOURCE > g.pgm && ppmtotga -mono g.pgm > OUT"},
        {"gm-grayscale", "gm",
         "ppmtopgm SOURCE > g.pgm && gm convert g.pgm -type Grayscale tga:OUT"},
    };
    for (const auto& r : tga)
        recipes.push_back({r[0] + "-67x29", "TGA", {r[1]}, ramp(67, 29), r[2], "made.tga", {}});
    for (const char* options : {"-cmap -norle", "-cmap"}) {
        std::string name = "ppmtotga";
        for (const char* c = options; *c; ++c) name += *c == ' ' ? '-' : *c;
        recipes.push_back({name + "-tiles-45x19",
                           "TGA",
                           {"ppmtotga"},
                           {Source::Tiles},
                           std::string("ppmtotga ") + options + " SOURCE > OUT",
                           "made.tga",
                           {}});
    }

    recipes.push_back({"pnmtorle-71x33",
                       "Utah RLE",
                       {"pnmtorle"},
                       ramp(71, 33),
                       "pnmtorle SOURCE > OUT",
                       "made.rle",
                       {}});
    recipes.push_back({"pnmtorle-grey-71x33",
                       "Utah RLE",
                       {"pnmtorle"},
                       ramp(71, 33),
                       "ppmtopgm SOURCE > g.pgm && pnmtorle g.pgm > OUT",
                       "made.rle",
                       {}});
    recipes.push_back({"pnmtorle-bands-90x20",
                       "Utah RLE",
                       {"pnmtorle"},
                       {Source::Bands},
                       "pnmtorle SOURCE > OUT",
                       "made.rle",
                       {}});
}

void addDrawingRecipes(std::vector<Recipe>& recipes) {
    // SOURCE: the folder where ezdxf wrote the drawing, once for both.
    for (const char* file : {"drawing.dxf", "drawing-binary.dxf"}) {
        recipes.push_back({std::string("ezdxf-") + file + "-at-416x416",
                           "DXF",
                           {},
                           {Source::EzdxfDrawing},
                           std::string("cp SOURCE/") + file + " OUT",
                           "made.dxf",
                           {416, 416}});
    }
    // GraphicsMagick draws the EPS through Ghostscript to make the preview.
    recipes.push_back({"gm-ept-square",
                       "EPS",
                       {"gm", "gs"},
                       {Source::EpsSquare},
                       "gm convert SOURCE ept:OUT",
                       "square.ept",
                       {}});
}

}  // namespace

std::vector<Recipe> recipes() {
    std::vector<Recipe> all;
    addJpegRecipes(all);
    addPngRecipes(all);
    addTiffRecipes(all);
    addGemAndPhotoCdRecipes(all);
    addBmpRecipes(all);
    addPcxRecipes(all);
    addTgaAndUtahRleRecipes(all);
    addDrawingRecipes(all);
    return all;
}

}  // namespace pictavo::golden
