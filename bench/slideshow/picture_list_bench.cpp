// Listing a folder of 100,000 pictures (plus 10,000 other files) for the
// show, and what the list costs: its heap in bytes per listed name.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "adapters/posix/std_file_system.h"
#include "slideshow/picture_list.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPictures = 100000;

// Made once per run and removed when the run ends, so no bench leaves
// 110,000 files behind in the temporary folder.
class BigFolder {
  public:
    BigFolder() {
        std::string pattern = (fs::temp_directory_path() / "pictavo-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return;
        path_ = pattern;
        char name[40];
        for (int i = 0; i < kPictures; ++i) {
            std::snprintf(name, sizeof name, "IMG_%06d.%s", i, i % 3 == 0 ? "JPG" : "png");
            std::ofstream(path_ / name).put('x');
        }
        for (int i = 0; i < kPictures / 10; ++i) {
            std::snprintf(name, sizeof name, "notes_%05d.txt", i);
            std::ofstream(path_ / name).put('x');
        }
    }
    ~BigFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    BigFolder(const BigFolder&) = delete;
    BigFolder& operator=(const BigFolder&) = delete;

    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

const fs::path& bigFolder() {
    static const BigFolder folder;
    return folder.path();
}

void BM_ListHundredThousandPictures(benchmark::State& state) {
    pictavo::platform::StdFileSystem files;
    std::string folder = bigFolder().string() + "/";
    size_t heapPerName = 0;
    for (auto _ : state) {
        size_t before = mallinfo2().uordblks;
        auto list = pictavo::slideshow::PictureList::read(files, folder);
        size_t after = mallinfo2().uordblks;
        if (list.ListCount() != kPictures) state.SkipWithError("wrong count");
        heapPerName = (after - before) / static_cast<size_t>(list.ListCount());
        benchmark::DoNotOptimize(list);
    }
    state.counters["names"] = kPictures;
    state.counters["heap_bytes_per_name"] = static_cast<double>(heapPerName);
}
BENCHMARK(BM_ListHundredThousandPictures)->Unit(benchmark::kMillisecond)->Iterations(5);

// The folder read alone, without matching and sorting.
void BM_ReadFolderEntries(benchmark::State& state) {
    pictavo::platform::StdFileSystem files;
    std::string folder = bigFolder().string() + "/";
    for (auto _ : state) benchmark::DoNotOptimize(files.listFolder(folder));
}
BENCHMARK(BM_ReadFolderEntries)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
