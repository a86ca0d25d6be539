// Profile strings over the in-memory file system, parsed and written back as INI text. A file named without a
// folder is in the Windows folder, as the system has it.
#pragma once

#include "platform/Profile.h"
#include "platform/fake/MemoryFileSystem.h"

namespace platform::fake {

class MemoryProfile : public IProfile {
public:
    explicit MemoryProfile(MemoryFileSystem& files) : files_(files) {}
    std::string Read(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& defaultValue, std::size_t bufferSize) override;
    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override;

    static constexpr const char* kWindowsFolder = "C:\\Windows";
    // Where a profile file name leads: a bare name into the Windows folder.
    static std::string Place(const std::string& file);

    // The value as stored, or nullopt when the file, section or key is missing.
    std::optional<std::string> Get(const std::string& file, const std::string& section, const std::string& key) const;

private:
    MemoryFileSystem& files_;
};

}  // namespace platform::fake
