// Drawings (WMF, DXF, EPS) that cost a careless player seconds or
// gigabytes: objects copied at each use or kept without count, points and
// rectangles by the million, curves searched end to end, and PostScript
// that never ends, hoards memory or fills the disk.

#include <algorithm>
#include <cstdint>
#include <string>

#include "hostile_files.h"

namespace pictavo::hostile {

namespace {

namespace fs = std::filesystem;

const std::string kTooComplex = "drawing too complex to render";

// --- WMF ---

// One record: its size in words, its function, its parameters.
void record(Bytes& body, uint16_t function, const Bytes& params) {
    body.u32(static_cast<uint32_t>(3 + params.size() / 2)).u16(function).text(params.data());
}

// CreateRegion of scans, each holding rectangles side by side.
void region(Bytes& body, uint32_t scans, uint32_t rectanglesPerScan) {
    Bytes params;
    params.u16(0).u16(6).u32(0).u16(0).u16(scans).u16(0);
    params.u16(0).u16(0).u16(1000).u16(1000);
    for (uint32_t scan = 0; scan < scans; ++scan) {
        const uint32_t top = scan % 1000;
        params.u16(2 * rectanglesPerScan).u16(top).u16(top + 1);
        for (uint32_t i = 0; i < rectanglesPerScan; ++i) params.u16(i % 999).u16(i % 999 + 1);
        params.u16(2 * rectanglesPerScan);
    }
    record(body, 0x06FF, params);
}

void palette(Bytes& body, uint32_t entries) {
    Bytes params;
    params.u16(0x0300).u16(entries);
    for (uint32_t i = 0; i < entries; ++i) params.u32(i * 2654435761u & 0xFFFFFF);
    record(body, 0x00F7, params);
}

// Selects object (0x012D) or palette (0x0234) index times times.
void selections(Bytes& body, uint16_t function, uint32_t times) {
    Bytes params;
    params.u16(0);
    for (uint32_t i = 0; i < times; ++i) record(body, function, params);
}

std::string regionSelections() {
    Bytes body;
    region(body, 20000, 1);
    selections(body, 0x012D, 60000);
    return metafile(body);
}

std::string paletteSelections() {
    Bytes body;
    palette(body, 65535);
    selections(body, 0x0234, 1000000);
    return metafile(body);
}

// A brush of a 256 x 256 DIB in 46 bytes: RLE8 that ends at once.
void patternBrush(Bytes& body) {
    Bytes params;
    params.u16(5).u16(0);
    params.u32(40).u32(256).u32(256).u16(1).u16(8).u32(1).u32(2).u32(0).u32(0).u32(1).u32(0);
    params.u32(0x00FF8040).u8(0).u8(1);
    record(body, 0x0142, params);
}

std::string patternBrushes(int brushes) {
    Bytes body;
    for (int i = 0; i < brushes; ++i) patternBrush(body);
    return metafile(body);
}

// One such brush selected, then fills (PatBlt) of a single pixel.
std::string patternFills(int fills) {
    Bytes body;
    patternBrush(body);
    selections(body, 0x012D, 1);
    Bytes fill;
    fill.u32(0x00F00021).u16(1).u16(1).u16(500).u16(500);
    for (int i = 0; i < fills; ++i) record(body, 0x061D, fill);
    return metafile(body);
}

// A placeable picture of side x side whose big palette is saved 1,024 times.
std::string savedPalettes(uint32_t side) {
    Bytes placeable;
    placeable.u32(0x9AC6CDD7).u16(0).u16(0).u16(0).u16(side).u16(side).u16(96).u32(0).u16(0);
    Bytes body;
    palette(body, 65535);
    selections(body, 0x0234, 1);
    for (int i = 0; i < 1024; ++i) record(body, 0x001E, Bytes{});
    return metafile(body, placeable.data());
}

// One PolyPolygon of polygons x points, every point on one spot.
std::string pointsOnASpot(uint32_t polygons, uint32_t points) {
    Bytes params;
    params.u16(polygons);
    for (uint32_t i = 0; i < polygons; ++i) params.u16(points);
    for (uint64_t i = 0; i < uint64_t{polygons} * points; ++i) params.u16(500).u16(500);
    Bytes body;
    record(body, 0x0538, params);
    return metafile(body);
}

std::string regionOfRectangles() {
    Bytes body;
    region(body, 449, 32767);
    return metafile(body);
}

// --- DXF ---

// count SPLINEs of controls points each, their knots clamped at both ends.
std::string longSplines(int count, int controls) {
    std::string entities;
    for (int s = 0; s < count; ++s) {
        entities += group(0, "SPLINE") + group(8, "0") + group(70, "8") + group(71, "3") +
                    group(72, std::to_string(controls + 4)) + group(73, std::to_string(controls));
        for (int k = 0; k < controls + 4; ++k)
            entities += group(40, std::to_string(std::clamp(k - 3, 0, controls - 3)));
        for (int i = 0; i < controls; ++i)
            entities += group(10, std::to_string(i % 1000)) + group(20, std::to_string(i % 7));
    }
    return dxfFile("", entities);
}

std::string longPolyline(int vertices) {
    std::string entity = group(0, "LWPOLYLINE") + group(8, "0") +
                         group(90, std::to_string(vertices)) + group(70, "0");
    entity.reserve(entity.size() + static_cast<size_t>(vertices) * 10);
    for (int i = 0; i < vertices; ++i) entity += group(10, "0") + group(20, "0");
    return dxfFile("", entity);
}

// --- EPS ---

std::string eps(const std::string& program) {
    return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n" + program + "\nshowpage\n";
}

}  // namespace

std::vector<HostileFile> stagedDrawingFiles() {
    return {
        staged(text("region-selections.wmf", "a region of 20,000 rectangles selected 60,000 times",
                    regionSelections)),
        staged(text("palette-selections.wmf",
                    "a palette of 65,535 colours selected 1,000,000 times", paletteSelections)),
        failing(staged(text("pattern-brushes.wmf", "6,000 brushes of 256 x 256 from 46 bytes each",
                            [] { return patternBrushes(6000); })),
                kTooComplex),
        staged(text("pattern-fills.wmf", "a 256 x 256 pattern brush filling 500,000 single pixels",
                    [] { return patternFills(500'000); })),
        seededWith(staged(text("saved-palettes.wmf",
                               "4096 x 4096, a palette of 65,535 colours saved 1,024 times",
                               [] { return savedPalettes(4096); })),
                   [] { return savedPalettes(256); }),
        failing(staged(text("points-on-a-spot.wmf", "a PolyPolygon of 15 million points on a spot",
                            [] { return pointsOnASpot(229, 65500); })),
                kTooComplex),
        failing(staged(text("region-of-rectangles.wmf", "a region of 14.7 million rectangles",
                            regionOfRectangles)),
                kTooComplex),
        staged(text("long-splines.dxf", "3 splines of 1,000,000 control points",
                    [] { return longSplines(3, 1'000'000); })),
        failing(staged(text("long-polyline.dxf", "a LWPOLYLINE of 6,300,000 vertices",
                            [] { return longPolyline(6'300'000); })),
                kTooComplex),
        failing(staged(text("endless-loop.eps", "PostScript that loops for ever",
                            [] { return eps("{ } loop"); })),
                "EPS rendering timed out"),
        staged(text(
            "kept-strings.eps", "14,000 strings of 60 KB kept",
            [] { return eps("/a 14000 array def 0 1 13999 { a exch 60000 string put } for"); })),
        staged(file("comment-flood.eps", "a comment of 60 MiB",
                    [](const fs::path& p) { writeSparse(p, eps("") + "%", uint64_t{60} << 20); })),
        staged(text("tempfile-flood.eps", "a temporary file written without end",
                    [] {
                        return eps(
                            "(pictavo) (w) .tempfile /f exch def pop /s 65536 string def "
                            "{ f s writestring } loop");
                    })),
    };
}

}  // namespace pictavo::hostile
