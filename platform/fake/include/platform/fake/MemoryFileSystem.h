// An in-memory Windows file system for unit tests: paths compare without regard to case, "\\" runs
// count as one separator, drive roots always exist.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace platform::fake {

class MemoryFileSystem : public IFileSystem {
public:
    struct File {
        std::string content;
        bool readOnly = false;
    };

    std::optional<FileStatus> Status(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
    bool SetWritable(const std::string& path, bool writable) override;
    bool WriteText(const std::string& path, std::string_view data, WriteMode mode) override;
    std::string CurrentDirectory() override { return currentDirectory; }

    // Test set-up and inspection.
    void AddFolder(const std::string& path);                                            // with all its parents
    void AddFile(const std::string& path, std::string content, bool readOnly = false);  // parents too
    bool HasFile(const std::string& path) const;
    bool HasFolder(const std::string& path) const;
    const File* Find(const std::string& path) const;
    std::string Content(const std::string& path) const;  // empty when missing
    void Forget(const std::string& path);                // removes a file or folder without checks

    std::string currentDirectory = "C:\\SCANSUITE\\bin";
    std::set<std::string> undeletable;    // normalised keys of files that refuse removal
    std::set<std::string> failingCopies;  // normalised target keys whose copy does nothing
    bool writesFail = false;              // every WriteText fails

    static std::string Key(const std::string& path);  // normalised: upper case, single separators
    static std::string Parent(const std::string& key);

private:
    bool ParentExists(const std::string& key) const;
    std::map<std::string, File> files_;
    std::set<std::string> folders_;
};

}  // namespace platform::fake
