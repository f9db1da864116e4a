#include "golden/made_pictures.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "golden/made_recipes.h"
#include "golden/picture_decoders.h"
#include "imaging/reference_images.h"
#include "imaging/source_pictures.h"

namespace pictavo::golden {

namespace {

namespace fs = std::filesystem;
using namespace imaging::testing;

// The other programs mostly wait on starting up: a few at a time.
constexpr int kWorkers = 4;

// What SOURCE stands for in a command, or why it cannot be had here. ready,
// when valid, comes true once the source exists ("" then) or tells why not.
struct PreparedSource {
    std::string source;
    std::string missing;
    std::shared_future<std::string> ready;
};

PreparedSource ready(std::string source) {
    return {std::move(source), "", {}};
}
PreparedSource missing(std::string why) {
    return {"", std::move(why), {}};
}

class Sources {
  public:
    explicit Sources(const fs::path& root) : root_(root) {}

    PreparedSource write(const Source& source, const fs::path& folder) {
        switch (source.kind) {
            case Source::Wave:
                return ppm(folder, wavePattern(source.width, source.height));
            case Source::Ramp:
                return ppm(folder, testPattern(source.width, source.height));
            case Source::Tiles:
                return ppm(folder, twelveColourTiles());
            case Source::Bands:
                return ppm(folder, greenWhiteBands());
            case Source::EpsSquare:
                std::ofstream(folder / "square.eps", std::ios::binary) << kEpsSquare;
                return ready("square.eps");
            case Source::EzdxfDrawing:
                return ezdxfDrawing();
            case Source::SharedSample:
                if (const fs::path path = samplesDir() / source.sample; fs::exists(path))
                    return ready("'" + path.string() + "'");
                return missing(std::string("no sample ") + source.sample);
        }
        return missing("unknown source");
    }

  private:
    static PreparedSource ppm(const fs::path& folder, const imaging::Image& picture) {
        writePpm(folder / "source.ppm", picture);
        return ready("source.ppm");
    }

    // The DXF tests' drawing, written once by ezdxf while the other
    // pictures are being made (Python takes a second to start).
    PreparedSource ezdxfDrawing() {
        const fs::path folder = root_ / "ezdxf";
        if (!ezdxf_.valid()) {
            fs::create_directories(folder);
            std::ofstream(folder / "writer.py", std::ios::binary) << kEzdxfWriter;
            ezdxf_ =
                std::async(std::launch::async, [folder] {
                    for (const char* python : kPythonsForEzdxf)
                        if (run("cd '" + folder.string() + "' && " + python + " writer.py drawing"))
                            return std::string();
                    return std::string("no Python with ezdxf");
                }).share();
        }
        return {"'" + folder.string() + "'", "", ezdxf_};
    }

    fs::path root_;
    std::shared_future<std::string> ezdxf_;
};

// The programs on this machine, each looked for once.
class Programs {
  public:
    // The first program of the recipe's that is not here; "" when all are.
    std::string firstMissing(const Recipe& recipe) {
        for (const std::string& tool : recipe.tools) {
            auto known = found_.find(tool);
            if (known == found_.end()) known = found_.emplace(tool, toolAvailable(tool)).first;
            if (!known->second) return tool;
        }
        return "";
    }

  private:
    std::map<std::string, bool> found_;
};

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

struct Job {
    const Recipe* recipe;
    const imaging::Decoder* decoder;
    std::string key;
    fs::path folder;
    std::string command;
    std::shared_future<std::string> ready;
    std::string missing;  // set when the source did not come
    bool written = false;
};

void runJobs(std::vector<Job>& jobs) {
    std::atomic<size_t> next = 0;
    auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            Job& job = jobs[i];
            if (job.ready.valid()) job.missing = job.ready.get();
            if (job.missing.empty()) job.written = run(job.command);
        }
    };
    std::vector<std::thread> workers;
    for (int i = 0; i < kWorkers; ++i) workers.emplace_back(work);
    for (std::thread& worker : workers) worker.join();
}

std::string decodeWritten(const Job& job) {
    std::vector<uint8_t> bytes = readBytes(job.folder / job.recipe->out);
    const Request& wanted = job.recipe->request;
    if (wanted.exifOrientation != 0)
        bytes = withExifOrientation(std::move(bytes), wanted.exifOrientation);
    const imaging::Target target = wanted.centreCrop
                                       ? imaging::Target::centre(wanted.width, wanted.height)
                                       : imaging::Target::atLeast(wanted.width, wanted.height);
    const imaging::DecodeRequest request{bytes, job.recipe->out, target};
    return decodedValue(job.decoder->decode(request));
}

}  // namespace

Computed madePictures() {
    Computed computed;
    const PictureDecoders decoders;
    Programs programs;
    const TempDir temp;
    Sources sources(temp.path());
    const std::vector<Recipe> all = recipes();
    std::vector<Job> jobs;
    for (const Recipe& recipe : all) {
        const imaging::Decoder* decoder = decoders.named(recipe.decoder);
        const std::string key =
            kMadePrefix + (decoder ? decoders.label(*decoder) : recipe.decoder) + "/" + recipe.name;
        if (!decoder) {
            computed.entries[key] = "no-decoder";
            continue;
        }
        if (const std::string tool = programs.firstMissing(recipe); !tool.empty()) {
            computed.skipped.push_back({key, "no " + tool});
            continue;
        }
        const fs::path folder = temp / ("recipe" + std::to_string(jobs.size()));
        fs::create_directories(folder);
        const PreparedSource source = sources.write(recipe.source, folder);
        if (!source.missing.empty()) {
            computed.skipped.push_back({key, source.missing});
            continue;
        }
        std::string command = recipe.command;
        replaceAll(command, "OUT", recipe.out);
        replaceAll(command, "SOURCE", source.source);
        jobs.push_back({&recipe, decoder, key, folder, "cd '" + folder.string() + "' && " + command,
                        source.ready, "", false});
    }
    runJobs(jobs);
    for (const Job& job : jobs) {
        if (!job.missing.empty())
            computed.skipped.push_back({job.key, job.missing});
        else
            computed.entries[job.key] = job.written ? decodeWritten(job) : "not-written";
    }
    return computed;
}

}  // namespace pictavo::golden
