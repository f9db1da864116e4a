// bench_work: where the weights of imaging/work_costs.h come from.
//
// Times one unit of the work meter (a pixel painted by a large fill), then
// each kind of visit the decoders count, each made to dominate a run of its
// own, and prints per kind: the time of one visit, that time in units (the
// weight it should have at least), the weight it has, and how long a file
// made only of such visits runs before its weight spends the default
// allowance. A weight below its measured ratio shows as "LOW".

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "adapters/imagelibs/jpeg_decoder.h"
#include "hostile_files.h"
#include "imaging/decoders/bmp_dib.h"
#include "imaging/decoders/dxf.h"
#include "imaging/decoders/dxf_drawing.h"
#include "imaging/decoders/dxf_render.h"
#include "imaging/decoders/dxf_text.h"
#include "imaging/decoders/wmf.h"
#include "imaging/decoders/wpg.h"
#include "imaging/vector/path_painter.h"
#include "imaging/vector/stroke_font.h"
#include "imaging/work_costs.h"
#include "imaging/work_meter.h"

namespace {

using namespace pictavo::imaging;
using Clock = std::chrono::steady_clock;

// The best of a few runs, in seconds.
double timed(const std::function<void()>& work, int runs = 3) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// A meter that never stops, so that a run does all its work.
WorkMeter endless() {
    return WorkMeter(nullptr, INT64_MAX / 2);
}

std::string group(int code, const std::string& value) {
    return std::to_string(code) + "\n" + value + "\n";
}

void put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void put32(std::string& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::string metafile(const std::string& body) {
    std::string file;
    put16(file, 1);
    put16(file, 9);
    put16(file, 0x300);
    put32(file, static_cast<uint32_t>((18 + 20 + body.size() + 6) / 2));
    put16(file, 0);
    put32(file, 0);
    put16(file, 0);
    put32(file, 5), put16(file, 0x020B), put16(file, 0), put16(file, 0);
    put32(file, 5), put16(file, 0x020C), put16(file, 1000), put16(file, 1000);
    put32(file, 5), put16(file, 0x0213), put16(file, 1), put16(file, 1);
    file += body;
    put32(file, 3), put16(file, 0);
    return file;
}

struct Row {
    const char* kind;
    double secondsPerVisit;
    int64_t weight;
};

// The blocks of a progressive JPEG's scans: the hostile tests' 8192 x 8192
// grey picture of 500 scans without data, each visiting its 1,048,576
// blocks, staged for 1920 x 1080.
Row jpegScanBlocks() {
    const auto& files = pictavo::hostile::hostileFiles();
    const auto made = std::find_if(files.begin(), files.end(),
                                   [](const auto& f) { return f.name == "costly-scans.jpg"; });
    const auto path = std::filesystem::temp_directory_path() / "bench-work-costly-scans.jpg";
    made->write(path);
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(path);
    const auto decoder = pictavo::platform::makeJpegDecoder();
    const double seconds = timed([&] {
        DecodeRequest request;
        request.bytes = bytes;
        request.target = Target::stretch(1920, 1080);
        request.work = std::make_shared<WorkMeter>(endless());
        if (!decoder->decode(request)) std::puts("");
    });
    return {"JPEG scan block", seconds / (500.0 * 1024 * 1024), cost::kScanBlock};
}

}  // namespace

int main() {
    // One unit: a pixel of a large solid fill.
    Image image(2000, 2000, rgb(255, 255, 255));
    WorkMeter unitMeter = endless();
    vector::PathPainter canvas(image, unitMeter);
    vector::Path square;
    square.addRectangle({0, 0}, {2000, 2000});
    const double fillSeconds = timed([&] {
        for (int i = 0; i < 20; ++i)
            canvas.fillPath(square, {}, vector::FillRule::NonZero,
                            rgb(static_cast<uint8_t>(i), 0, 0));
    });
    const double unit = fillSeconds / (20.0 * 2000 * 2000);
    // A hairline's steps: the other common painting.
    WorkMeter hairMeter = endless();
    vector::PathPainter hairCanvas(image, hairMeter);
    const double hairSeconds = timed([&] {
        for (int i = 0; i < 2000; ++i)
            hairCanvas.drawHairline({0, double(i)}, {1999, double(1999 - i)}, rgb(0, 0, 0));
    });
    std::vector<Row> rows;
    rows.push_back({"hairline step", hairSeconds / (2000.0 * 2000), cost::kHairlineStep});
    {
        // Bitmap pixels copied onto the canvas, scaled.
        Image source(1000, 1000, rgb(10, 20, 30));
        WorkMeter meter = endless();
        vector::PathPainter copies(image, meter);
        const double seconds = timed([&] {
            for (int i = 0; i < 5; ++i)
                copies.drawImage(source, {0, 0, 1000, 1000}, {0, 0, 2000, 2000});
        });
        rows.push_back({"bitmap pixel drawn", seconds / (5.0 * 2000 * 2000), cost::kImagePixel});
    }
    {
        // A polygon zigzagging across the canvas: edge cells, sorted and swept.
        vector::Contour zigzag;
        zigzag.closed = true;
        for (int i = 0; i < 400; ++i) zigzag.points.push_back({i % 2 ? 1999.0 : 0.0, i * 5.0});
        class NoPaint final : public vector::SpanSink {
          public:
            void span(int, int, int, uint8_t) override {}
        } nothing;
        vector::Rasterizer rasterizer;
        size_t cells = 0;
        const double seconds = timed([&] {
            rasterizer.reset(2000, 2000);
            rasterizer.addContour(zigzag);
            cells = rasterizer.cellCount();
            rasterizer.sweep(vector::FillRule::EvenOdd, nothing);
        });
        rows.push_back({"fill edge cell", seconds / static_cast<double>(cells), cost::kEdgeCell});
    }
    constexpr int kCells = 1000;
    {
        // An empty block arrayed kCells x kCells: a million cells, walked twice.
        const std::string dxf = group(0, "SECTION") + group(2, "BLOCKS") + group(0, "BLOCK") +
                                group(2, "E") + group(0, "ENDBLK") + group(0, "ENDSEC") +
                                group(0, "SECTION") + group(2, "ENTITIES") + group(0, "INSERT") +
                                group(2, "E") + group(70, std::to_string(kCells)) +
                                group(71, std::to_string(kCells)) + group(0, "LINE") +
                                group(11, "1") + group(21, "1") + group(0, "ENDSEC");
        const double seconds = timed([&] {
            WorkMeter meter = endless();
            (void)decodeDxf(bytesOf(dxf), 64, 64, meter);
        });
        rows.push_back({"DXF array cell", seconds / (2.0 * kCells * kCells), cost::kCell});
    }
    {
        std::string dxf = group(0, "SECTION") + group(2, "ENTITIES");
        constexpr int kLines = 200000;
        for (int i = 0; i < kLines; ++i) {
            dxf += group(0, "LINE") + group(8, "0") + group(10, std::to_string(i % 100)) +
                   group(20, "0") + group(11, std::to_string(i % 100)) + group(21, "0.01");
        }
        dxf += group(0, "ENDSEC");
        // Reading alone, then one walk that measures without painting.
        const double readSeconds = timed([&] {
            WorkMeter meter = endless();
            (void)dxf::readDrawing(bytesOf(dxf), meter);
        });
        WorkMeter meter = endless();
        const auto drawing = dxf::readDrawing(bytesOf(dxf), meter);
        const double walkSeconds = timed([&] {
            WorkMeter walkMeter = endless();
            (void)dxf::measureDrawing(*drawing, walkMeter);
        });
        rows.push_back({"DXF group read", readSeconds / (6.0 * kLines), cost::kGroup});
        rows.push_back({"DXF line walked", walkSeconds / kLines, cost::kEntity + 2 * cost::kPoint});
    }
    {
        std::string body;
        constexpr int kRecords = 1000000;
        for (int i = 0; i < kRecords; ++i) put32(body, 4), put16(body, 0x0102), put16(body, 1);
        const std::string wmf = metafile(body);
        const double seconds = timed([&] {
            WorkMeter meter = endless();
            (void)decodeWmf(bytesOf(wmf), 64, 64, meter);
        });
        rows.push_back({"WMF record (SetBkMode)", seconds / kRecords, cost::kRecord});
        std::string pens;
        for (int i = 0; i < kRecords; ++i) {
            put32(pens, 8), put16(pens, 0x02FA);
            for (int w = 0; w < 5; ++w) put16(pens, 0);
        }
        const std::string penFile = metafile(pens);
        const double penSeconds = timed([&] {
            WorkMeter meter = endless();
            (void)decodeWmf(bytesOf(penFile), 64, 64, meter);
        });
        rows.push_back(
            {"WMF record (CreatePen)", penSeconds / kRecords, cost::kRecord + cost::kObject});
    }
    {
        std::string file;
        put32(file, 0x435057FF), put32(file, 16), file += '\x01', file += '\x16', file += '\x01';
        file += '\0', put16(file, 0), put16(file, 0);
        file += '\x0F', file += '\x06', file += '\x01', file += '\0', put16(file, 1200),
            put16(file, 1200);
        constexpr int kRecords = 1000000;
        for (int i = 0; i < kRecords; ++i)
            file += '\x02', file += '\x04', file += '\x01', file += '\x02', put16(file, 1);
        file += '\x10', file += '\0';
        const double seconds = timed([&] {
            WorkMeter meter = endless();
            (void)decodeWpg(bytesOf(file), meter);
        });
        rows.push_back({"WPG record", seconds / kRecords, cost::kRecord});
    }
    {
        // Glyphs laid out and flattened at a size that paints next to nothing.
        constexpr int kGlyphs = 200000;
        const std::u32string text(kGlyphs, U'W');
        const double seconds = timed([&] {
            for (int first = 0; first < kGlyphs; first += 256) {
                vector::Path path;
                vector::appendText(path, std::u32string_view(text).substr(first, 256),
                                   vector::Transform::translation(first, 0));
                auto contours = path.flatten(vector::Transform::scaling(0.001, 0.001));
                if (contours.empty()) std::puts("");
            }
        });
        rows.push_back({"glyph laid out", seconds / kGlyphs, cost::kGlyph});
    }
    {
        constexpr int kPoints = 1000000;
        const double seconds = timed([&] {
            vector::Path path;
            path.moveTo({0, 0});
            for (int i = 1; i < kPoints; ++i) path.lineTo({double(i % 7), double(i % 5)});
            auto contours = path.flatten(vector::Transform::scaling(0.5, 0.5));
            if (contours.empty()) std::puts("");
        });
        rows.push_back({"path point", seconds / kPoints, cost::kPoint});
    }
    {
        const std::string raw(10000000, 'a');
        const double seconds = timed([&] {
            auto text = dxf::decodeDxfText(raw, false);
            if (text.empty()) std::puts("");
        });
        rows.push_back({"text byte", seconds / 10e6, cost::kTextByte});
    }
    {
        // An 8-bit DIB of 2000 x 2000.
        std::string dib;
        put32(dib, 40), put32(dib, 2000), put32(dib, 2000), put16(dib, 1), put16(dib, 8);
        for (int i = 0; i < 6; ++i) put32(dib, 0);
        for (int i = 0; i < 256; ++i) put32(dib, static_cast<uint32_t>(i * 0x010101));
        dib += std::string(2000 * 2000, '\x40');
        const double seconds = timed([&] {
            auto decoded = decodePackedDib(bytesOf(dib));
            if (!decoded) std::puts("");
        });
        rows.push_back({"bitmap pixel", seconds / 4e6, cost::kBitmapPixel});
    }
    rows.push_back(jpegScanBlocks());

    std::printf("one unit (a pixel of a large fill): %.3f ns\n", unit * 1e9);
    std::printf("the default allowance, %lld units, is %.2f s of such fills\n\n",
                static_cast<long long>(kDefaultWorkUnits),
                static_cast<double>(kDefaultWorkUnits) * unit);
    std::printf("%-26s %12s %10s %8s %14s\n", "visit", "ns each", "in units", "weight",
                "allowance lasts");
    for (const Row& row : rows) {
        const double ratio = row.secondsPerVisit / unit;
        const double lasts = static_cast<double>(kDefaultWorkUnits) /
                             static_cast<double>(row.weight) * row.secondsPerVisit;
        std::printf("%-26s %12.2f %10.1f %8lld %12.2f s%s\n", row.kind, row.secondsPerVisit * 1e9,
                    ratio, static_cast<long long>(row.weight), lasts,
                    static_cast<double>(row.weight) < ratio ? "  LOW" : "");
    }
    return 0;
}
