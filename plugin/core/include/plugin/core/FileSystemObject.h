// The folder and file operations of the automation runtime's file-system object, as the plug-in uses them, over
// the platform's file system (named apart from the Windows macros). Failures raise the numbers and descriptions that
// object raises for them (76 "Path not found", 53 "File not found", 70 "Permission denied", 58 "File already exists",
// 61 "Disk full").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/core/Services.h"
#include "plugin/core/Text.h"
#include "plugin/core/VbError.h"

namespace orvanta {

// The file-system object's error for a Windows error code.
VbError FileError(std::uint32_t windowsError);

class FileSystemObject {
public:
    explicit FileSystemObject(Services& services) : services_(services) {}

    bool FolderExists(std::u16string_view path);
    bool FileExists(std::u16string_view path);
    // One level; 58 when something exists there already, 76 when the parent is missing.
    void CreateFolder(std::u16string_view path);
    // Copies one file, replacing an existing target when overwrite is set (58 otherwise).
    void CopyOneFile(std::u16string_view from, std::u16string_view to, bool overwrite);
    // Deletes one file; a read-only file is not forced (70).
    void DeleteOneFile(std::u16string_view path);
    // The size of a file; 53 when there is none.
    std::uint64_t FileSize(std::u16string_view path);
    // The names of the files directly in folder (no folders), in the order the file system lists them; 76 when the
    // folder is missing.
    std::vector<std::u16string> FileNames(std::u16string_view folder);
    // The entries matching a wildcard pattern, in listing order; an error as the listing failed.
    std::vector<platform::DirEntry> Entries(std::u16string_view pattern);
    // The working folder of the process (the shell object's CurrentDirectory); raises when it cannot be set.
    void SetWorkingFolder(std::u16string_view path);

private:
    static std::string Path(std::u16string_view text) { return ToUtf8(text); }
    [[noreturn]] void Raise() { throw FileError(services_.files.LastError()); }

    Services& services_;
};

}  // namespace orvanta
