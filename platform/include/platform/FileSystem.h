// Files and folders, by Windows path as single-byte text: in the ANSI code page, or in UTF-8 where the adapter
// is made so (the plug-in's, which reaches every name).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FileStatus {
    bool isDirectory = false;
    bool readOnly = false;
    std::uint64_t size = 0;
};

enum class WriteMode { Append, Truncate };

// One entry of a folder listing.
struct DirEntry {
    std::string name;  // without the folder
    bool isDirectory = false;
    bool hidden = false;
    bool system = false;
    std::uint64_t size = 0;
};

// Windows error codes (GetLastError) that callers map to their own errors.
namespace error {
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kTooManyOpenFiles = 4;
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kNotSameDevice = 17;
inline constexpr std::uint32_t kWriteProtect = 19;
inline constexpr std::uint32_t kNotReady = 21;
inline constexpr std::uint32_t kSharingViolation = 32;
inline constexpr std::uint32_t kLockViolation = 33;
inline constexpr std::uint32_t kHandleDiskFull = 39;
inline constexpr std::uint32_t kBadNetPath = 53;
inline constexpr std::uint32_t kBadNetName = 67;
inline constexpr std::uint32_t kFileExists = 80;
inline constexpr std::uint32_t kDiskFull = 112;
inline constexpr std::uint32_t kInvalidName = 123;
inline constexpr std::uint32_t kBadPathName = 161;
inline constexpr std::uint32_t kAlreadyExists = 183;
inline constexpr std::uint32_t kFilenameTooLong = 206;
}  // namespace error

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // The status query (GetFileAttributesEx); nullopt when it fails.
    virtual std::optional<FileStatus> Status(const std::string& path) = 0;
    // One level; the parent must exist.
    virtual bool MakeDirectory(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    virtual bool Copy(const std::string& from, const std::string& to, bool failIfExists) = 0;
    // The C runtime's permission call: writable or read-only.
    virtual bool SetWritable(const std::string& path, bool writable) = 0;
    // Opens (creating it when missing), writes data, closes. Truncate empties the file first.
    virtual bool WriteText(const std::string& path, std::string_view data, WriteMode mode) = 0;
    virtual std::string CurrentDirectory() = 0;
    // Sets the working folder of the whole process.
    virtual bool ChangeCurrentDirectory(const std::string& path) = 0;
    // The entries that match a wildcard pattern such as C:\Images\* or C:\Review\key_*.* (FindFirstFileEx,
    // basic information, large fetch), in the order the system returns them, without "." and "..". A pattern
    // that matches nothing gives an empty list; nullopt when the listing fails (a missing folder, say).
    virtual std::optional<std::vector<DirEntry>> List(const std::string& pattern) = 0;
    // List's entries passed to take in batches, each as soon as the system has returned it, so that the caller
    // can work on them while the rest is read. False when the listing fails: the batches taken so far are then
    // no listing. This one passes List's entries as one batch.
    virtual bool ListInBatches(const std::string& pattern, const std::function<void(std::vector<DirEntry>&)>& take) {
        auto entries = List(pattern);
        if (entries && !entries->empty()) take(*entries);
        return entries.has_value();
    }
    // The full path of path as the system names it: made absolute, "." and ".." resolved, and short names of
    // existing parts made long. nullopt when the path cannot be made full.
    virtual std::optional<std::string> FullPath(const std::string& path) = 0;
    // The Windows error code of the last operation above that failed.
    virtual std::uint32_t LastError() const = 0;
};

}  // namespace platform
