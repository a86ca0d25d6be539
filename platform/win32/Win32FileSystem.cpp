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

std::optional<FileStatus> Win32FileSystem::Status(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    FileStatus status;
    status.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    status.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return status;
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool Win32FileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
    return CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
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

}  // namespace platform::win32
