// An in-memory Windows file system for unit tests: paths are made full first (relative to currentDirectory,
// "." and ".." resolved by the text), compare without regard to case, "\\" runs count as one separator, drive
// roots always exist. Names keep the case they were created with; a listing
// gives a folder's entries in the order they were created. Failures set the Windows error code.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace platform::fake {

class MemoryFileSystem : public IFileSystem {
public:
    struct File {
        std::string content;
        bool readOnly = false;
        bool hidden = false;
        bool system = false;
    };

    std::optional<FileStatus> Status(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
    bool SetWritable(const std::string& path, bool writable) override;
    bool WriteText(const std::string& path, std::string_view data, WriteMode mode) override;
    std::string CurrentDirectory() override { return currentDirectory; }
    bool ChangeCurrentDirectory(const std::string& path) override;
    std::optional<std::vector<DirEntry>> List(const std::string& pattern) override;
    // List's entries a batch each; after them a folder of breakingLists fails (access denied) and one of
    // raisingLists raises bad_alloc: a listing that breaks off under way.
    bool ListInBatches(const std::string& pattern, const std::function<void(std::vector<DirEntry>&)>& take) override;
    // Relative to currentDirectory, "." and ".." resolved, "/" as "\\", no trailing separator but a root's;
    // a name in shortNames stands for its long name. The case stays as written.
    std::optional<std::string> FullPath(const std::string& path) override;
    std::uint32_t LastError() const override { return lastError; }

    // Test set-up and inspection.
    void AddFolder(const std::string& path);                                            // with all its parents
    void AddFile(const std::string& path, std::string content, bool readOnly = false);  // parents too
    bool HasFile(const std::string& path) const;
    bool HasFolder(const std::string& path) const;
    const File* Find(const std::string& path) const;
    std::string Content(const std::string& path) const;  // empty when missing
    void Forget(const std::string& path);                // removes a file or folder without checks
    File* FindMutable(const std::string& path);
    // The names a listing of the folder gives, in order.
    std::vector<std::string> Names(const std::string& folder);

    std::string currentDirectory = "C:\\SCANSUITE\\bin";
    std::set<std::string> undeletable;    // normalised keys of files that refuse removal
    std::set<std::string> failingCopies;  // normalised target keys whose copy does nothing
    std::set<std::string> shortCopies;    // normalised target keys whose copy reports success but loses the tail
    std::set<std::string> failingLists;   // normalised folder keys whose listing fails (access denied)
    std::set<std::string> breakingLists, raisingLists;  // normalised folder keys, for ListInBatches
    std::map<std::string, std::string> shortNames;      // short name of a path part (as written) -> its long name
    bool writesFail = false;                            // every WriteText fails
    std::uint32_t lastError = 0;

    static std::string Key(const std::string& path);  // normalised: upper case, single separators
    static std::string Parent(const std::string& key);
    // Windows wildcard matching of one name, without regard to case; a final ".*" also matches no extension.
    static bool Matches(const std::string& pattern, const std::string& name);

private:
    struct Named {
        std::string name;  // the last part of the path as created
        std::uint64_t created = 0;
    };
    // The parts of the full path after its drive, which goes to root; no short names resolved.
    std::vector<std::string> Parts(const std::string& path, std::string& root) const;
    std::string Absolute(const std::string& path) const;  // the full path, as FullPath without short names
    bool ParentExists(const std::string& key) const;
    // The normalised key of a pattern's folder; namePattern gets the rest.
    std::string FolderKeyOf(const std::string& pattern, std::string& namePattern) const;
    bool Fail(std::uint32_t error);
    void Name(const std::string& key, const std::string& path);
    std::map<std::string, File> files_;
    std::set<std::string> folders_;
    std::map<std::string, Named> names_;
    std::uint64_t created_ = 0;
};

}  // namespace platform::fake
