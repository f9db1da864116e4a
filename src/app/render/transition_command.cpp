#include "app/render/transition_command.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "adapters/posix/std_file_system.h"
#include "app/render/arguments.h"
#include "app/render/png_writer.h"
#include "app/render/sample_pictures.h"
#include "common/numbers.h"
#include "hosts/headless/headless_host.h"
#include "hosts/shared/frame_sink.h"
#include "hosts/shared/memory_surface.h"
#include "imaging/picture_decoding.h"
#include "state/saver_state.h"
#include "transitions/pacing.h"
#include "transitions/trace.h"
#include "transitions/transition_engine.h"

namespace pictavo::render {

namespace {

namespace fs = std::filesystem;

struct TransitionOptions {
    std::optional<int> effect;
    std::optional<PixelSize> size;
    std::optional<PixelSize> screen;
    std::string fromFile;
    std::string toFile;
    bool stretch = false;
    int speed = 1;
    std::optional<uint32_t> seed;
    std::string outFile;
    std::string framesDir;
    int every = 1;
    std::string traceFile;
};

Result<TransitionOptions> readOptions(const std::vector<std::string>& arguments) {
    auto parsed = readCommandArgs(
        arguments, {.valueOptions = {"--effect", "--size", "--screen", "--speed", "--seed",
                                     "--every", "--from", "--to", "--out", "--frames", "--trace"},
                    .flags = {"--stretch"},
                    .required = {{"--effect", "N"}, {"--size", "WxH"}}});
    if (!parsed) return parsed.error();

    TransitionOptions options;
    auto read = firstFailure({
        parsed->read("--effect", 0, transitions::kEffectCount - 1, options.effect),
        parsed->read("--size", options.size),
        parsed->read("--screen", options.screen),
        parsed->read("--speed", 1, 1000, options.speed),
        parsed->read("--seed", 0, UINT32_MAX, options.seed),
        parsed->read("--every", 1, INT32_MAX, options.every),
    });
    if (!read) return read.error();
    options.stretch = parsed->has("--stretch");
    options.fromFile = parsed->valueOr("--from");
    options.toFile = parsed->valueOr("--to");
    options.outFile = parsed->valueOr("--out");
    options.framesDir = parsed->valueOr("--frames");
    options.traceFile = parsed->valueOr("--trace");
    return options;
}

// A generated sample picture, or the file decoded whole by the decoders the
// saver ships, transparent parts laid on black as the saver shows them.
Result<imaging::Image> pictureFor(const std::string& file, imaging::Image (*sample)(int, int),
                                  PixelSize size, const RenderServices& services) {
    if (file.empty()) return sample(size.width, size.height);
    const platform::StdFileSystem files;
    auto opened = files.openFile(file);
    if (!opened) return makeError("cannot read '" + file + "': " + opened.error().message);
    const auto decoders =
        imaging::pictureDecoders(services.decoders ? services.decoders() : imaging::DecoderList{});
    const std::string name = fs::path(file).filename().string();
    auto decoded =
        imaging::decodePicture({.decoders = *decoders, .fileName = name, .file = opened->get()});
    if (!decoded) return makeError("cannot read '" + file + "': " + decoded.error().message);
    return decoded;
}

// A file may be written there: its folder exists.
Result<void> checkWritablePlace(const std::string& file) {
    fs::path folder = fs::path(file).parent_path();
    std::error_code error;
    if (!folder.empty() && !fs::is_directory(folder, error))
        return makeError("cannot write '" + file + "': no folder '" + folder.string() + "'");
    return {};
}

// Puts a picture into a box the way the tool stages it: at the top left, or
// scaled to the whole box. Returns the image size the stretch effects read.
PixelSize stage(platform::MemorySurface& box, const imaging::Image& picture, bool stretch) {
    if (stretch) {
        box.stretchFrom(platform::MemorySurface(picture), 0, 0, picture.width, picture.height, 0, 0,
                        box.width(), box.height());
        return {box.width(), box.height()};
    }
    box.drawImage(picture, 0, 0);
    return {picture.width, picture.height};
}

// Counts what the transition does and passes it on to the trace file.
class Tally final : public transitions::TraceSink {
  public:
    explicit Tally(TraceSink* next) : next_(next) {}
    void copy(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy) override {
        ++copies;
        if (next_) next_->copy(dx, dy, w, h, sx, sy);
    }
    void stretch(int32_t dx, int32_t dy, int32_t w, int32_t h) override {
        ++stretches;
        if (next_) next_->stretch(dx, dy, w, h);
    }
    void delay(int32_t units) override {
        ++delays;
        if (next_) next_->delay(units);
    }

    long copies = 0;
    long stretches = 0;
    long delays = 0;

  private:
    TraceSink* next_;
};

// Writes Picture2 at the start, at every every-th frame presented during
// the transition and at the end. Each step is presented just before its
// pause, so those are the frames at the pauses; the last present is the
// end, written once whether or not it falls on an every-th. The first
// failure stops the frames and is kept for the report.
class FrameWriter final : public platform::FrameSink {
  public:
    FrameWriter(std::string folder, int every, const platform::MemorySurface& picture)
        : folder_(std::move(folder)), every_(every), picture_(picture) {}

    void start() { write(picture_); }
    void framePresented(const platform::MemorySurface& surface) override {
        endWritten_ = ++presented_ % every_ == 0;
        if (endWritten_) write(surface);
    }
    void finish() {
        if (!endWritten_) write(picture_);
    }
    const std::optional<Error>& failure() const { return failure_; }

  private:
    void write(const platform::MemorySurface& surface) {
        if (folder_.empty() || failure_) return;
        char name[32];
        std::snprintf(name, sizeof name, "frame_%06ld.png", written_++);
        if (auto done = writePng((fs::path(folder_) / name).string(), surface.image()); !done)
            failure_ = done.error();
    }

    std::string folder_;
    int every_;
    const platform::MemorySurface& picture_;
    long presented_ = 0;
    long written_ = 0;
    // The frame last presented is on file.
    bool endWritten_ = false;
    std::optional<Error> failure_;
};

int badArguments(const Error& error) {
    return render::badArguments("transition", error.message);
}

int failed(const Error& error) {
    std::fprintf(stderr, "pictavo-render transition: %s\n", error.message.c_str());
    return kExitFailed;
}

}  // namespace

int runTransitionCommand(const std::vector<std::string>& arguments,
                         const RenderServices& services) {
    Result<TransitionOptions> read = readOptions(arguments);
    if (!read) return badArguments(read.error());
    const TransitionOptions& options = *read;
    const PixelSize size = *options.size;
    const PixelSize screenSize = options.screen.value_or(size);

    // Everything that can be wrong with the request is found before anything is written.
    Result<imaging::Image> from = pictureFor(options.fromFile, oldSamplePicture, size, services);
    if (!from) return badArguments(from.error());
    Result<imaging::Image> to = pictureFor(options.toFile, newSamplePicture, size, services);
    if (!to) return badArguments(to.error());
    for (const std::string& file : {options.outFile, options.traceFile})
        if (!file.empty())
            if (auto place = checkWritablePlace(file); !place) return badArguments(place.error());
    if (!options.framesDir.empty()) {
        std::error_code error;
        fs::create_directories(options.framesDir, error);
        if (!fs::is_directory(options.framesDir, error))
            return badArguments(
                makeError("cannot make the frames folder '" + options.framesDir + "'"));
    }

    std::ofstream traceFile;
    std::unique_ptr<transitions::StreamTrace> traceLines;
    if (!options.traceFile.empty()) {
        traceFile.open(options.traceFile, std::ios::binary | std::ios::trunc);
        if (!traceFile) return badArguments(makeError("cannot write '" + options.traceFile + "'"));
        traceLines = std::make_unique<transitions::StreamTrace>(traceFile);
    }

    // Time on the headless host passes only when slept on, so the effect's
    // nominal duration is measured without being waited for.
    platform::headless::HeadlessHost host;
    host.screen().setPixels(screenSize.width, screenSize.height);
    platform::MemorySurface picture1 = host.frames().surface(size.width, size.height);
    platform::MemorySurface picture2 = host.frames().surface(size.width, size.height);
    SaverState state;
    const PixelSize image = stage(picture1, *to, options.stretch);
    stage(picture2, *from, options.stretch);
    state.ImageWidth = toInt16(image.width);
    state.ImageHeight = toInt16(image.height);
    state.Speed = static_cast<int16_t>(options.speed);
    if (options.seed) state.random.seed(*options.seed);

    FrameWriter frames(options.framesDir, options.every, picture2);
    host.setFrameSink(&frames);
    Tally tally(traceLines.get());
    transitions::TransitionEngine engine(picture1, picture2, state, host.screen(), host.eventLoop(),
                                         host.clock());
    engine.setTrace(&tally);

    frames.start();
    engine.Transition(*options.effect);
    frames.finish();
    host.setFrameSink(nullptr);

    if (frames.failure()) return failed(*frames.failure());
    if (traceFile.is_open()) {
        traceFile.flush();
        if (!traceFile) return failed(makeError("cannot write '" + options.traceFile + "'"));
    }
    if (!options.outFile.empty())
        if (auto written = writePng(options.outFile, picture2.image()); !written)
            return failed(written.error());

    const std::string_view name = transitions::effectName(*options.effect);
    std::printf(
        "%.*s (effect %d) on %dx%d: %ld pauses, %ld copies, %ld stretches; nominal %.3f s at speed "
        "%d\n",
        static_cast<int>(name.size()), name.data(), *options.effect, size.width, size.height,
        tally.delays, tally.copies, tally.stretches,
        static_cast<double>(host.clock().nowMicros()) / 1e6, options.speed);
    return kExitOk;
}

}  // namespace pictavo::render
