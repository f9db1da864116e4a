// PostScript that reaches for the user's files: in the temporary folder, in
// the home folder and beside the picture, through every door PostScript
// has (file, deletefile, renamefile, filenameforall, %os%, %pipe%,
// /OutputFile, %stdout). Ghostscript must refuse them all and leave every
// file as it was. Each attempt that gets through paints a square of its
// own black, so the picture tells which door was open.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "adapters/ghostscript/eps_ghostscript.h"
#include "imaging/decoders/eps.h"
#include "temp_folder.h"

namespace pictavo::imaging {
namespace {

namespace fs = std::filesystem;
using platform::GhostscriptRenderer;

// A file the test makes and watches: its content and time must not change.
struct Victim {
    fs::path path;
    std::string content;
    fs::file_time_type written;
};

Victim plant(const fs::path& path) {
    std::ofstream(path, std::ios::binary) << "private " << path.string();
    return {path, "private " + path.string(), fs::last_write_time(path)};
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Sets an environment variable while it lives.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const fs::path& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

size_t sandboxesIn(const fs::path& folder) {
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with("pictavo-gs-")) ++count;
    }
    return count;
}

// A PostScript string literal.
std::string literal(const std::string& text) {
    std::string out = "(";
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    }
    return out + ")";
}

constexpr int kColumns = 20;
constexpr int kSquare = 10;  // points

class EpsSandbox : public ::testing::Test {
  protected:
    void SetUp() override {
        renderer_ = std::make_shared<GhostscriptRenderer>();
        if (!renderer_->available()) GTEST_SKIP() << "no Ghostscript";
        std::random_device random;
        inTemp_ = fs::temp_directory_path() / ("pictavo-victim-" + std::to_string(random()));
        // The saver's own temporary folder (TMPDIR while Ghostscript runs),
        // the system's, the home folder and the picture's folder.
        victims_ = {plant(rooms_.path() / "scratch.txt"), plant(inTemp_),
                    plant(home_.path() / "notes.txt"), plant(pictures_.path() / "beside.txt")};
    }
    void TearDown() override {
        std::error_code ignored;
        for (const char* suffix : {"", ".new", ".moved", ".out", ".piped", ".os"})
            fs::remove(inTemp_.string() + suffix, ignored);
    }

    // Runs the attempts, one square each, and returns the picture.
    Result<Image> attempt(const std::vector<std::string>& attempts) {
        const int rows = static_cast<int>(attempts.size() + kColumns) / kColumns;
        std::string program = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 " +
                              std::to_string(kColumns * kSquare) + " " +
                              std::to_string(rows * kSquare) + "\n";
        const std::string side = std::to_string(kSquare);
        // column row hit: paints the attempt's square.
        program += "/hit { " + side + " mul exch " + side + " mul exch " + side + " " + side +
                   " rectfill } bind def\n0 setgray\n";
        for (size_t i = 0; i < attempts.size(); ++i) {
            const std::string at =
                std::to_string(i % kColumns) + " " + std::to_string(i / kColumns);
            program += "{ " + attempts[i] + " } stopped not { " + at + " hit } if\n";
        }
        // The temporary folder is one of the test's own, holding a file of
        // the user's; Ghostscript's room is made in it, and must go.
        ScopedVariable home("HOME", home_.path());
        ScopedVariable temporary("TMPDIR", rooms_.path());
        // Whatever the saver's environment holds stays out of Ghostscript's.
        ScopedVariable options("GS_OPTIONS", "-dNOSAFER");
        const int width = kColumns * kSquare * 96 / 72;
        const int height = rows * kSquare * 96 / 72;
        return renderer_->renderPostScript(
            {reinterpret_cast<const uint8_t*>(program.data()), program.size()}, width, height,
            BoundingBox{0, 0, double(kColumns * kSquare), double(rows * kSquare)}, work_);
    }

    // True where attempt i left its square white: it was refused.
    static bool refused(const Image& image, size_t i) {
        const double scale = 96.0 / 72;
        const int x = static_cast<int>((double(i % kColumns) * kSquare + kSquare / 2.0) * scale);
        const int y = image.height - 1 -
                      static_cast<int>((double(i / kColumns) * kSquare + kSquare / 2.0) * scale);
        return image.at(x, y) == rgb(255, 255, 255);
    }

    void expectUntouched() {
        for (const Victim& victim : victims_) {
            ASSERT_TRUE(fs::exists(victim.path)) << victim.path;
            EXPECT_EQ(readAll(victim.path), victim.content) << victim.path;
            EXPECT_EQ(fs::last_write_time(victim.path), victim.written) << victim.path;
            for (const char* suffix : {".new", ".moved", ".out", ".piped", ".os"})
                EXPECT_FALSE(fs::exists(victim.path.string() + suffix)) << victim.path << suffix;
        }
        EXPECT_EQ(sandboxesIn(rooms_.path()), 0u) << "Ghostscript's folder stayed behind";
    }

    std::shared_ptr<GhostscriptRenderer> renderer_;
    WorkMeter work_;
    TempFolder home_;
    TempFolder pictures_;
    TempFolder rooms_;
    fs::path inTemp_;
    std::vector<Victim> victims_;
};

TEST_F(EpsSandbox, RefusesEveryWayToReadOrChangeTheUsersFiles) {
    std::vector<std::string> attempts = {"1 1 add pop"};  // a door that is open: the control
    for (const Victim& victim : victims_) {
        const std::string name = literal(victim.path.string());
        const std::string folder = literal(victim.path.parent_path().string() + "/*");
        const std::string newName = literal(victim.path.string() + ".new");
        attempts.insert(
            attempts.end(),
            {
                name + " (r) file 100 string readstring pop pop",
                name + " (w) file closefile",
                name + " (a) file closefile",
                newName + " (w) file closefile",
                name + " deletefile",
                name + " " + literal(victim.path.string() + ".moved") + " renamefile",
                literal("%os%" + victim.path.string()) + " (r) file 100 string readstring pop pop",
                literal("%os%" + victim.path.string() + ".os") + " (w) file closefile",
                literal("%pipe%cat " + victim.path.string() + " > " + victim.path.string() +
                        ".piped") +
                    " (r) file closefile",
                name + " status { pop pop pop pop } { stop } ifelse",
            });
        // Listing a folder, in the folders the test owns only: Ghostscript
        // stops at a FIFO in a folder it lists (the saver's time limit ends
        // that), and the system's temporary folder may hold one.
        if (victim.path != inTemp_) {
            attempts.push_back("0 " + folder +
                               " { pop 1 add } 1000 string filenameforall 0 eq { stop } if");
        }
    }
    auto image = attempt(attempts);
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_FALSE(refused(*image, 0)) << "the control attempt was not drawn";
    for (size_t i = 1; i < attempts.size(); ++i)
        EXPECT_TRUE(refused(*image, i)) << "allowed: " << attempts[i];
    expectUntouched();
}

TEST_F(EpsSandbox, OutputFileCannotBeTurnedOntoTheUsersFiles) {
    for (const Victim& victim : victims_) {
        for (const std::string& target :
             {victim.path.string(), victim.path.string() + ".out", "%os%" + victim.path.string(),
              "%pipe%cat > " + victim.path.string()}) {
            const std::string program =
                "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n<< /OutputFile " +
                literal(target) + " >> setpagedevice 0 0 5 5 rectfill showpage\n";
            ScopedVariable temporary("TMPDIR", rooms_.path());
            auto image = renderer_->renderPostScript(
                {reinterpret_cast<const uint8_t*>(program.data()), program.size()}, 13, 13,
                BoundingBox{0, 0, 10, 10}, work_);
            // The page goes nowhere, or to us: either way not into the file.
            if (!image) {
                EXPECT_NE(image.error().message.find("EPS rendering"), std::string::npos);
            }
        }
    }
    expectUntouched();
}

// What the PostScript prints (its own %stdout, or Ghostscript's messages
// about its errors) goes elsewhere than the picture.
TEST_F(EpsSandbox, PrintingDoesNotSpoilThePicture) {
    auto image = attempt({"(P6 1 1 255 xyz) print flush",
                          "(%stdout) (w) file dup (P6 2 2 255 junk) writestring closefile",
                          "/nosuchthing load", "(P6 3 3 255 junk) = (more) =="});
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, kColumns * kSquare * 96 / 72);
    EXPECT_FALSE(refused(*image, 0));
    EXPECT_FALSE(refused(*image, 1));
    EXPECT_TRUE(refused(*image, 2));
    EXPECT_FALSE(refused(*image, 3));
    expectUntouched();
}

}  // namespace
}  // namespace pictavo::imaging
