// The platform as the site check lends it to the plug-in's and the tool's code: everything reads, nothing
// writes, starts, shows or changes a setting. A change is withheld and answered as done, so that the code goes on
// as it would (a log line, a recorded password) without printing failures of its own; what was withheld is kept.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Database.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/Shell.h"
#include "plugin/core/ImageFilesForm.h"
#include "plugin/core/LibraryStart.h"

namespace orvanta::check {

// Reads go through; every change is withheld. The working folder is the one given, as if the process stood there.
class ReadOnlyFileSystem : public platform::IFileSystem {
public:
    ReadOnlyFileSystem(platform::IFileSystem& inner, std::string currentDirectory)
        : inner_(inner), currentDirectory_(std::move(currentDirectory)) {}

    std::optional<platform::FileStatus> Status(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override { return Withhold("create folder " + path); }
    bool RemoveFile(const std::string& path) override { return Withhold("delete " + path); }
    bool Copy(const std::string&, const std::string& to, bool) override { return Withhold("copy to " + to); }
    bool SetWritable(const std::string& path, bool) override { return Withhold("change attributes of " + path); }
    bool WriteText(const std::string& path, std::string_view, platform::WriteMode) override {
        return Withhold("write " + path);
    }
    std::optional<std::string> FullPath(const std::string& path) override { return inner_.FullPath(path); }
    std::string CurrentDirectory() override { return currentDirectory_; }
    bool ChangeCurrentDirectory(const std::string& path) override { return Withhold("change folder to " + path); }
    std::optional<std::vector<platform::DirEntry>> List(const std::string& pattern) override;
    std::uint32_t LastError() const override { return inner_.LastError(); }

    std::vector<std::string> withheld;

private:
    bool Withhold(std::string what);
    platform::IFileSystem& inner_;
    std::string currentDirectory_;
};

class ReadOnlyProfile : public platform::IProfile {
public:
    explicit ReadOnlyProfile(platform::IProfile& inner) : inner_(inner) {}
    std::string Read(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& defaultValue, std::size_t bufferSize) override {
        return inner_.Read(file, section, key, defaultValue, bufferSize);
    }
    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const std::string&) override {
        withheld.push_back(file + " [" + section + "] " + key);
        return true;
    }

    std::vector<std::string> withheld;

private:
    platform::IProfile& inner_;
};

// Connections that open and query; a statement without result (Execute) is withheld and fails with a DbError.
class ReadOnlyDriver : public platform::IDbDriver {
public:
    explicit ReadOnlyDriver(platform::IDbDriver& inner) : inner_(inner) {}
    std::unique_ptr<platform::IDbConnection> NewConnection() override;

    std::vector<std::string> withheld;

private:
    platform::IDbDriver& inner_;
};

// Boxes are never shown: the text is kept and the box answered OK (No for a question).
class SilentBoxes : public platform::IMessageBox {
public:
    platform::MsgAnswer Show(const std::string& text, const std::string& caption,
                             const platform::MsgStyle& style) override {
        shown.push_back(caption + ": " + text);
        return style.buttons == platform::MsgButtons::YesNo ? platform::MsgAnswer::No : platform::MsgAnswer::Ok;
    }
    std::vector<std::string> shown;
};

// Starts nothing.
class NoShell : public platform::IShell {
public:
    std::intptr_t Execute(platform::WindowHandle, const std::string&, const std::string&, const std::string&,
                          const std::string&, int) override {
        return 0;
    }
    std::intptr_t Open(platform::WindowHandle, const std::u16string&, int) override { return 0; }
};

class NoImageFilesWindow : public IImageFilesWindow {
public:
    void ShowModal(ImageFilesForm&) override {}
};

// Stands in for the host's data-access component: keeps the data source it is handed, connects nowhere.
class NoHostDataAccess : public IHostDataAccessFactory {
public:
    std::unique_ptr<IHostDataAccess> Create() override;
};

}  // namespace orvanta::check
