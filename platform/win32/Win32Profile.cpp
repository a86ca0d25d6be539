#include "platform/win32/Win32Profile.h"

#include <windows.h>

#include <limits>
#include <vector>

namespace platform::win32 {

std::string Win32Profile::Read(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& defaultValue, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    if (bufferSize > std::numeric_limits<DWORD>::max()) bufferSize = std::numeric_limits<DWORD>::max();
    std::vector<char> buffer(bufferSize, '\0');
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                            static_cast<DWORD>(bufferSize), file.c_str());
    if (length >= bufferSize) length = static_cast<DWORD>(bufferSize - 1);
    return std::string(buffer.data(), length);
}

bool Win32Profile::Write(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

}  // namespace platform::win32
