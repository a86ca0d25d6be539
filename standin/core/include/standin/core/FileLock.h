// A lock file beside a state file, held while the state is read or changed by one of several processes.
#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace standin {

class FileLock {
public:
    FileLock(const std::filesystem::path& stateFile, bool exclusive) {
        std::error_code error;
        if (stateFile.has_parent_path()) std::filesystem::create_directories(stateFile.parent_path(), error);
        fd_ = ::open((stateFile.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ >= 0) ::flock(fd_, exclusive ? LOCK_EX : LOCK_SH);
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace standin
