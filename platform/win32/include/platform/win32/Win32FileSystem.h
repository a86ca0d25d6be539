// Files and folders through the Windows kernel and the C runtime.
#pragma once

#include "platform/FileSystem.h"

namespace platform::win32 {

class Win32FileSystem : public IFileSystem {
public:
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
    // GetFullPathName, then GetLongPathName where the path exists.
    std::optional<std::string> FullPath(const std::string& path) override;
    std::uint32_t LastError() const override { return lastError_; }

private:
    // Keeps GetLastError of a failed call; answers ok.
    bool Track(bool ok);

    std::uint32_t lastError_ = 0;
};

}  // namespace platform::win32
