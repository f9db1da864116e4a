#pragma once
// A folder of its own for one test, removed with everything in it afterwards.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace pictavo {

class TempFolder {
  public:
    TempFolder() {
        std::random_device device;
        path_ =
            std::filesystem::temp_directory_path() / ("pictavo-test-" + std::to_string(device()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as the saver names it: with its separator at the end.
    std::string withSeparator() const { return path_.string() + "/"; }
    void write(const std::string& name, const std::string& content) const {
        std::ofstream(path_ / name, std::ios::binary) << content;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace pictavo
