#include "platform/win32/Win32FileSystem.h"

#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "platform/win32/Handles.h"

namespace platform::win32 {
namespace {

void CloseFile(std::FILE* file) noexcept { std::fclose(file); }
using UniqueStream = Unique<std::FILE*, &CloseFile>;

}  // namespace

bool Win32FileSystem::Track(bool ok) {
    if (!ok) lastError_ = GetLastError();
    return ok;
}

std::wstring Win32FileSystem::Wide(const std::string& text) const {
    UINT codePage = text_ == PathText::Utf8 ? CP_UTF8 : CP_ACP;
    int length = static_cast<int>(text.size());
    int size = text.empty() ? 0 : MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), size);
    return wide;
}

std::string Win32FileSystem::Narrow(const wchar_t* text, int length) const {
    // ASCII reads the same in UTF-8 and every ANSI code page: no conversion call for the common name.
    if (length > 0 && std::all_of(text, text + length, [](wchar_t c) { return c < 0x80; }))
        return std::string(text, text + length);
    UINT codePage = text_ == PathText::Utf8 ? CP_UTF8 : CP_ACP;
    int size = length <= 0 ? 0 : WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(codePage, 0, text, length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

std::optional<FileStatus> Win32FileSystem::Status(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!Track(GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) != FALSE)) return std::nullopt;
    FileStatus status;
    status.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    status.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return status;
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
    return Track(CreateDirectoryW(Wide(path).c_str(), nullptr) != FALSE);
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return Track(DeleteFileW(Wide(path).c_str()) != FALSE); }

bool Win32FileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
    return Track(CopyFileW(Wide(from).c_str(), Wide(to).c_str(), failIfExists ? TRUE : FALSE) != FALSE);
}

bool Win32FileSystem::SetWritable(const std::string& path, bool writable) {
    return Track(_wchmod(Wide(path).c_str(), writable ? _S_IWRITE : _S_IREAD) == 0);
}

bool Win32FileSystem::WriteText(const std::string& path, std::string_view data, WriteMode mode) {
    UniqueStream file(_wfopen(Wide(path).c_str(), mode == WriteMode::Append ? L"ab" : L"wb"));
    if (!Track(file.get() != nullptr)) return false;
    bool written = data.empty() || std::fwrite(data.data(), 1, data.size(), file.get()) == data.size();
    if (!Track(written)) return false;
    return Track(std::fclose(file.release()) == 0);
}

std::string Win32FileSystem::CurrentDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) return {};
    return Narrow(buffer, static_cast<int>(length));
}

bool Win32FileSystem::ChangeCurrentDirectory(const std::string& path) {
    return Track(SetCurrentDirectoryW(Wide(path).c_str()) != FALSE);
}

template <class Take>
bool Win32FileSystem::Enumerate(const std::string& pattern, Take&& take) {
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileExW(Wide(pattern).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return true;
        lastError_ = error;
        return false;
    }
    do {
        std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        DirEntry entry;
        entry.name = Narrow(name.data(), static_cast<int>(name.size()));
        entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        entry.system = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
        entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        take(std::move(entry));
    } while (FindNextFileW(find.get(), &data));
    DWORD error = GetLastError();
    find.reset();
    if (error != ERROR_NO_MORE_FILES) {
        lastError_ = error;
        return false;
    }
    return true;
}

std::optional<std::vector<DirEntry>> Win32FileSystem::List(const std::string& pattern) {
    std::vector<DirEntry> entries;
    if (!Enumerate(pattern, [&](DirEntry&& entry) { entries.push_back(std::move(entry)); })) return std::nullopt;
    return entries;
}

bool Win32FileSystem::ListInBatches(const std::string& pattern,
                                    const std::function<void(std::vector<DirEntry>&)>& take) {
    constexpr std::size_t kBatch = 256;
    std::vector<DirEntry> batch;
    batch.reserve(kBatch);
    bool listed = Enumerate(pattern, [&](DirEntry&& entry) {
        batch.push_back(std::move(entry));
        if (batch.size() < kBatch) return;
        take(batch);
        batch.clear();
    });
    if (listed && !batch.empty()) take(batch);
    return listed;
}

std::optional<std::string> Win32FileSystem::FullPath(const std::string& path) {
    if (path.empty()) {  // GetFullPathName fails on it, but not every version says why
        lastError_ = ERROR_INVALID_NAME;
        return std::nullopt;
    }
    wchar_t full[MAX_PATH] = {};
    DWORD length = GetFullPathNameW(Wide(path).c_str(), MAX_PATH, full, nullptr);
    if (!Track(length != 0 && length < MAX_PATH)) return std::nullopt;
    wchar_t longName[MAX_PATH] = {};
    DWORD longLength = GetLongPathNameW(full, longName, MAX_PATH);
    if (longLength != 0 && longLength < MAX_PATH) return Narrow(longName, static_cast<int>(longLength));
    return Narrow(full, static_cast<int>(length));  // a path that does not exist keeps its full form
}

}  // namespace platform::win32
