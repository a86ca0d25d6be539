// Profile-string (INI) files, as GetPrivateProfileStringA / WritePrivateProfileStringA see them.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

class IProfile {
public:
    virtual ~IProfile() = default;
    // The value of section/key in file, or defaultValue when the file, section or key is missing.
    // At most bufferSize - 1 characters come back, as with a buffer of bufferSize bytes.
    virtual std::string Read(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& defaultValue, std::size_t bufferSize) = 0;
    // Writes (and creates) what is missing; true on success.
    virtual bool Write(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) = 0;
};

}  // namespace platform
