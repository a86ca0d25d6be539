// Files and folders, by Windows path (single-byte text in the ANSI code page).
#pragma once

#include <cstdint>
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

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // The status query (GetFileAttributesExA); nullopt when it fails.
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
};

}  // namespace platform
