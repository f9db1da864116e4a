#include "adapters/posix/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <filesystem>
#include <fstream>

#include "adapters/posix/file_registry.h"
#include "adapters/posix/file_settings_store.h"
#include "settings/settings.h"
#include "temp_folder.h"

namespace pictavo::platform::posix {
namespace {

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(IniFile, EveryValueSurvivesARoundTrip) {
    IniFile file;
    std::string awkward = "a=b [c] \\ \n\r\t\x01\x7F end ";
    std::string bytes;
    for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
    file.set("Brackenfeld Applications\\ScreenSaver", "Password", awkward);
    file.set("Brackenfeld Applications\\Pictavo", "PicturePath", bytes);
    file.set("Brackenfeld Applications\\Pictavo", "Empty", "");
    IniFile reread = IniFile::parse(file.serialise());
    EXPECT_EQ(reread.get("Brackenfeld Applications\\ScreenSaver", "Password"), awkward);
    EXPECT_EQ(reread.get("Brackenfeld Applications\\Pictavo", "PicturePath"), bytes);
    EXPECT_EQ(reread.get("Brackenfeld Applications\\Pictavo", "Empty"), "");
    EXPECT_EQ(reread.get("Brackenfeld Applications\\Pictavo", "Missing"), std::nullopt);
}

TEST(IniFile, ParsesWhatAPersonWouldWrite) {
    IniFile file =
        IniFile::parse("# comment\r\n[A\\B]\r\n  Interval = 20\r\nbroken line\n[C]\nx=1=2\n");
    EXPECT_EQ(file.get("A\\B", "Interval"), " 20");  // the settings conversion allows the blanks
    EXPECT_EQ(file.get("C", "x"), "1=2");
}

TEST(IniFile, AByteOrderMarkHidesNothing) {
    IniFile file = IniFile::parse("\xEF\xBB\xBF[Brackenfeld Applications\\Pictavo]\nInterval=20\n");
    EXPECT_EQ(file.get("Brackenfeld Applications\\Pictavo", "Interval"), "20");
    EXPECT_EQ(file.sections().count(""), 0u);
    EXPECT_EQ(file.serialise().find("\xEF\xBB\xBF"), std::string::npos);

    // As the saver meets it: the settings are read, and saving them keeps
    // them where they were.
    TempFolder folder;
    folder.write("settings.ini", "\xEF\xBB\xBF[Brackenfeld Applications\\Pictavo]\nInterval=20\n");
    FileSettingsStore store((folder.path() / "settings.ini").string());
    EXPECT_EQ(store.read(settings::kApplication, settings::kSectionPictavo, settings::kKeyInterval),
              "20");
    ASSERT_TRUE(settings::savePictureSettings(store, "/home/ann/Pictures", 30, 1000, 1).ok());
    std::ifstream saved(folder.path() / "settings.ini");
    const std::string text((std::istreambuf_iterator<char>(saved)),
                           std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("[]"), std::string::npos) << text;
    EXPECT_EQ(store.read(settings::kApplication, settings::kSectionPictavo, settings::kKeyInterval),
              "30");
}

TEST(IniFile, KeysBeforeAnySectionStayOutsideEverySection) {
    IniFile file = IniFile::parse("loose=1\n[S]\nk=v\n");
    const std::string text = file.serialise();
    EXPECT_EQ(text.find("[]"), std::string::npos) << text;
    EXPECT_EQ(text.rfind("loose=1\n", 0), 0u) << text;
    IniFile reread = IniFile::parse(text);
    EXPECT_EQ(reread.get("", "loose"), "1");
    EXPECT_EQ(reread.get("S", "k"), "v");
}

TEST(FileSettingsStore, WritesAtomicallyAndLeavesNothingElseBehind) {
    TempFolder folder;
    std::string path = (folder.path() / "conf" / "settings.ini").string();
    FileSettingsStore store(path);
    EXPECT_EQ(store.read("App", "S", "k"), std::nullopt);
    ASSERT_TRUE(settings::savePictureSettings(store, "/home/ann/Pictures", 20, 1000, 1).ok());
    ASSERT_TRUE(store.write("App", "S", "k", "v").ok());
    EXPECT_EQ(store.read(settings::kApplication, settings::kSectionPictavo, settings::kKeySpeed),
              "1000");
    EXPECT_EQ(store.read("App", "S", "k"), "v");
    EXPECT_EQ(filesIn(folder.path() / "conf"), std::vector<std::string>{"settings.ini"});
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "a password lives in this file";
}

// A full disk, simulated with a file size limit (which binds root too).
class FullDisk {
  public:
    explicit FullDisk(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit old_{};
    void (*previous_)(int) = nullptr;
};

TEST(FileSettingsStore, AFailedWriteKeepsTheOldFileWhole) {
    TempFolder folder;
    std::string path = (folder.path() / "settings.ini").string();
    FileSettingsStore store(path);
    ASSERT_TRUE(store.write("App", "S", "k", "old").ok());
    Result<void> written = [&] {
        FullDisk full(16);
        return store.write("App", "S", "k", "a value too long for the disk");
    }();
    ASSERT_FALSE(written.ok());
    EXPECT_NE(written.error().message.find(path), std::string::npos);
    EXPECT_EQ(store.read("App", "S", "k"), "old");
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"settings.ini"});
}

TEST(FileSettingsStore, ASaveToAFileThatIsAFolderFailsCleanly) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "settings.ini");
    FileSettingsStore store((folder.path() / "settings.ini").string());
    EXPECT_FALSE(store.write("App", "S", "k", "v").ok());
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"settings.ini"});
}

TEST(FileRegistry, ReadsTextAndNumberValuesCaseBlind) {
    TempFolder folder;
    folder.write("system.ini",
                 "[HKEY_CURRENT_USER\\Control "
                 "Panel\\Desktop]\nScreenSaveUsePassword=dword:00000001\nText=1\n");
    FileRegistry registry((folder.path() / "system.ini").string());
    RegistryKey key = 0;
    ASSERT_EQ(registry.openKey(0x80000001u, "control panel\\desktop", key), 0);
    std::vector<uint8_t> buffer(255, ' ');
    uint32_t size = 255, type = 0;
    ASSERT_EQ(registry.queryValue(key, "screensaveusepassword", type, buffer, size), 0);
    EXPECT_EQ(type, kRegistryDword);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(buffer[0], 1);
    size = 255;
    ASSERT_EQ(registry.queryValue(key, "Text", type, buffer, size), 0);
    EXPECT_EQ(type, kRegistryString);
    EXPECT_EQ(size, 2u);
    registry.closeKey(key);
    EXPECT_NE(registry.openKey(0x80000002u, "Control Panel\\Desktop", key), 0);
}

}  // namespace
}  // namespace pictavo::platform::posix
