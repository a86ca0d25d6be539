// Profile strings through GetPrivateProfileStringA / WritePrivateProfileStringA.
#pragma once

#include "platform/Profile.h"

namespace platform::win32 {

class Win32Profile : public IProfile {
public:
    std::string Read(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& defaultValue, std::size_t bufferSize) override;
    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override;
};

}  // namespace platform::win32
