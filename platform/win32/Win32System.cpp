#include "platform/win32/Win32System.h"

#include <objbase.h>
#include <rpc.h>
#include <windows.h>

#include <cstring>
#include <ctime>
#include <limits>
#include <vector>

namespace platform::win32 {

std::int64_t Win32Clock::UnixNow() { return static_cast<std::int64_t>(std::time(nullptr)); }

std::tm Win32Clock::LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_s(&local, &now) != 0) return std::tm{};
    return local;
}

Win32System::~Win32System() {
    if (comInitialised_) CoUninitialize();
}

std::string Win32System::ComputerName(std::size_t bufferSize) {
    if (bufferSize == 0 || bufferSize > std::numeric_limits<DWORD>::max()) return {};
    std::vector<char> buffer(bufferSize, '\0');
    DWORD size = static_cast<DWORD>(bufferSize);
    if (!GetComputerNameA(buffer.data(), &size) || size >= bufferSize) return {};
    return std::string(buffer.data(), size);
}

bool Win32System::HaveModuleHandle() { return GetModuleHandleA(nullptr) != nullptr; }

void Win32System::DetachConsole() { FreeConsole(); }

UuidResult Win32System::CreateUuid() {
    if (!comTried_) {
        comTried_ = true;
        comInitialised_ = SUCCEEDED(CoInitialize(nullptr));
    }
    UuidResult result;
    UUID uuid{};
    result.status = UuidCreate(&uuid);
    static_assert(sizeof uuid == sizeof result.bytes);
    std::memcpy(result.bytes.data(), &uuid, sizeof uuid);
    return result;
}

}  // namespace platform::win32
