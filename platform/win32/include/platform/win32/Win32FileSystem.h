// Files and folders through the Windows kernel and the C runtime.
#pragma once

#include "platform/FileSystem.h"

namespace platform::win32 {

class Win32FileSystem : public IFileSystem {
public:
    // How paths and names are held as single-byte text: in the ANSI code page (characters outside it become its
    // substitutes), or as UTF-8, which reaches every name the file system holds. The calls are the wide ones.
    enum class PathText { Ansi, Utf8 };
    explicit Win32FileSystem(PathText text = PathText::Ansi) : text_(text) {}

    std::optional<FileStatus> Status(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
    bool SetWritable(const std::string& path, bool writable) override;
    bool WriteText(const std::string& path, std::string_view data, WriteMode mode) override;
    // The current directory, read into 260 characters; empty when it does not fit.
    std::string CurrentDirectory() override;
    bool ChangeCurrentDirectory(const std::string& path) override;
    std::optional<std::vector<DirEntry>> List(const std::string& pattern) override;
    // A batch a fetch of the system's: a few hundred entries.
    bool ListInBatches(const std::string& pattern, const std::function<void(std::vector<DirEntry>&)>& take) override;
    // GetFullPathName, then GetLongPathName where the path exists.
    std::optional<std::string> FullPath(const std::string& path) override;
    std::uint32_t LastError() const override { return lastError_; }

private:
    // Keeps GetLastError of a failed call; answers ok.
    bool Track(bool ok);
    std::wstring Wide(const std::string& text) const;
    std::string Narrow(const wchar_t* text, int length) const;
    // Passes each entry that matches pattern to take; false when the listing fails.
    template <class Take>
    bool Enumerate(const std::string& pattern, Take&& take);

    PathText text_;
    std::uint32_t lastError_ = 0;
};

}  // namespace platform::win32
