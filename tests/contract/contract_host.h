#pragma once
// The host a dialog contract case runs on: the real host of the build for
// windows, input, time and the event loop, with message boxes recorded
// instead of shown, settings in memory and a small folder tree in memory,
// so the real dialogs can be driven through to the end on every host.

#include <map>
#include <string>
#include <vector>

#include "hosts/headless/headless_dialogs.h"
#include "imaging/decoder.h"
#include "platform/host.h"
#include "settings/memory_store.h"

namespace pictavo::testing {

// Folders and files in memory, with '/' between names and "/" the one drive.
class MemoryFolders : public platform::FileSystem {
  public:
    char separator() const override { return '/'; }
    std::vector<std::string> drives() const override { return {"/"}; }
    Result<std::vector<platform::FolderEntry>> listFolder(const std::string& folder) const override;
    Result<std::unique_ptr<imaging::ByteSource>> openFile(const std::string& path) const override;

    // The dialogs list folders; they never read a picture.
    Result<platform::FileStamp> stamp(const std::string&) const override {
        return makeError("no pictures in the dialogs' folders");
    }
    bool removeFile(const std::string&) override { return false; }

    // Adds the folder (and those above it) with these files.
    void add(const std::string& folder, const std::vector<std::string>& files = {});

  private:
    std::map<std::string, std::vector<platform::FolderEntry>> folders_;
};

class ContractHost : public platform::Host {
  public:
    explicit ContractHost(platform::Host& real) : real_(real) {}

    platform::Screen& screen() override { return real_.screen(); }
    platform::Clock& clock() override { return real_.clock(); }
    platform::EventLoop& eventLoop() override { return real_.eventLoop(); }
    platform::Cursor& cursor() override { return real_.cursor(); }
    platform::WindowSystem& windows() override { return real_.windows(); }
    platform::SystemInfo& system() override { return real_.system(); }
    platform::Registry& registry() override { return real_.registry(); }
    settings::MemorySettingsStore& settings() override { return settings_; }
    MemoryFolders& files() override { return folders_; }
    platform::headless::HeadlessDialogs& dialogs() override { return dialogs_; }
    platform::FormFactory& forms() override { return real_.forms(); }
    imaging::DecoderList platformDecoders() override { return {}; }
    std::string defaultPictureFolder() const override { return "/"; }

  private:
    platform::Host& real_;
    settings::MemorySettingsStore settings_;
    MemoryFolders folders_;
    platform::headless::HeadlessDialogs dialogs_;
};

}  // namespace pictavo::testing
