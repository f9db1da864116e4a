// How long a drawing exchange file of a million entities, written here in
// both encodings, takes to decode: read, measured and drawn at 1024 x 768.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "imaging/decoders/dxf.h"

namespace {

using pictavo::imaging::decodeDxf;

constexpr int kEntities = 1000000;

void appendGroup(std::string& out, int code, const std::string& value) {
    char codeText[16];
    std::snprintf(codeText, sizeof codeText, "%3d\n", code);
    out += codeText;
    out += value;
    out += '\n';
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

// Entities as a CAD program writes them: handle, owner, subclass markers,
// layer, colour and 3D points.
std::string textDrawing(int entities) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(0, 10000);
    std::uniform_real_distribution<double> step(-40, 40);
    std::string out;
    out.reserve(static_cast<size_t>(entities) * 190 + 1000);
    appendGroup(out, 0, "SECTION");
    appendGroup(out, 2, "ENTITIES");
    for (int i = 0; i < entities; ++i) {
        const double x = place(random);
        const double y = place(random);
        const bool circle = i % 10 == 9;
        appendGroup(out, 0, circle ? "CIRCLE" : "LINE");
        char handle[16];
        std::snprintf(handle, sizeof handle, "%X", i + 0x100);
        appendGroup(out, 5, handle);
        appendGroup(out, 330, "1F");
        appendGroup(out, 100, "AcDbEntity");
        appendGroup(out, 8, "0");
        appendGroup(out, 62, std::to_string(1 + i % 7));
        appendGroup(out, 100, circle ? "AcDbCircle" : "AcDbLine");
        appendGroup(out, 10, number(x));
        appendGroup(out, 20, number(y));
        appendGroup(out, 30, "0.0");
        if (circle) {
            appendGroup(out, 40, number(std::abs(step(random)) + 1));
        } else {
            appendGroup(out, 11, number(x + step(random)));
            appendGroup(out, 21, number(y + step(random)));
            appendGroup(out, 31, "0.0");
        }
    }
    appendGroup(out, 0, "ENDSEC");
    appendGroup(out, 0, "EOF");
    return out;
}

void put16(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void putText(std::string& out, int code, const char* value) {
    put16(out, code);
    out += value;
    out += '\0';
}

void putReal(std::string& out, int code, double value) {
    put16(out, code);
    char bytes[8];
    std::memcpy(bytes, &value, 8);
    out.append(bytes, 8);
}

std::string binaryDrawing(int entities) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(0, 10000);
    std::uniform_real_distribution<double> step(-40, 40);
    std::string out("AutoCAD Binary DXF\r\n\x1a\0", 22);
    putText(out, 0, "SECTION");
    putText(out, 2, "ENTITIES");
    for (int i = 0; i < entities; ++i) {
        const double x = place(random);
        const double y = place(random);
        putText(out, 0, "LINE");
        putText(out, 8, "0");
        put16(out, 62);
        put16(out, 1 + i % 7);
        putReal(out, 10, x);
        putReal(out, 20, y);
        putReal(out, 11, x + step(random));
        putReal(out, 21, y + step(random));
    }
    putText(out, 0, "ENDSEC");
    putText(out, 0, "EOF");
    return out;
}

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

void decodeMillionEntityTextDxf(benchmark::State& state) {
    const std::string drawing = textDrawing(kEntities);
    for (auto _ : state) {
        auto image = decodeDxf(bytesOf(drawing), 1024, 768);
        if (!image) state.SkipWithError(image.error().message.c_str());
        benchmark::DoNotOptimize(image);
    }
    state.counters["MB"] = static_cast<double>(drawing.size()) / 1e6;
}
BENCHMARK(decodeMillionEntityTextDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

void decodeMillionEntityBinaryDxf(benchmark::State& state) {
    const std::string drawing = binaryDrawing(kEntities);
    for (auto _ : state) {
        auto image = decodeDxf(bytesOf(drawing), 1024, 768);
        if (!image) state.SkipWithError(image.error().message.c_str());
        benchmark::DoNotOptimize(image);
    }
    state.counters["MB"] = static_cast<double>(drawing.size()) / 1e6;
}
BENCHMARK(decodeMillionEntityBinaryDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
