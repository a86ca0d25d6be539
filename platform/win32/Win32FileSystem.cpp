#include "platform/win32/Win32FileSystem.h"

#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>
#include <memory>

namespace platform::win32 {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool Win32FileSystem::Track(bool ok) {
    if (!ok) lastError_ = GetLastError();
    return ok;
}

std::optional<FileStatus> Win32FileSystem::Status(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!Track(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != FALSE)) return std::nullopt;
    FileStatus status;
    status.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    status.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return status;
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
    return Track(CreateDirectoryA(path.c_str(), nullptr) != FALSE);
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return Track(DeleteFileA(path.c_str()) != FALSE); }

bool Win32FileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
    return Track(CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE);
}

bool Win32FileSystem::SetWritable(const std::string& path, bool writable) {
    return _chmod(path.c_str(), writable ? _S_IWRITE : _S_IREAD) == 0;
}

bool Win32FileSystem::WriteText(const std::string& path, std::string_view data, WriteMode mode) {
    FilePtr file(std::fopen(path.c_str(), mode == WriteMode::Append ? "ab" : "wb"));
    if (!file) return false;
    bool written = data.empty() || std::fwrite(data.data(), 1, data.size(), file.get()) == data.size();
    return std::fclose(file.release()) == 0 && written;
}

std::string Win32FileSystem::CurrentDirectory() {
    char buffer[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(buffer, length);
}

bool Win32FileSystem::ChangeCurrentDirectory(const std::string& path) {
    return Track(SetCurrentDirectoryA(path.c_str()) != FALSE);
}

std::optional<std::vector<DirEntry>> Win32FileSystem::List(const std::string& pattern) {
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    std::vector<DirEntry> entries;
    if (find == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return entries;
        lastError_ = error;
        return std::nullopt;
    }
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        DirEntry entry;
        entry.name = std::move(name);
        entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        entry.system = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
        entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entries.push_back(std::move(entry));
    } while (FindNextFileA(find, &data));
    DWORD error = GetLastError();
    FindClose(find);
    if (error != ERROR_NO_MORE_FILES) {
        lastError_ = error;
        return std::nullopt;
    }
    return entries;
}

std::optional<std::string> Win32FileSystem::FullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (!Track(length != 0 && length < MAX_PATH)) return std::nullopt;
    char longName[MAX_PATH] = {};
    DWORD longLength = GetLongPathNameA(full, longName, MAX_PATH);
    if (longLength != 0 && longLength < MAX_PATH) return std::string(longName, longLength);
    return std::string(full, length);  // a path that does not exist keeps its full form
}

}  // namespace platform::win32
