#include "check/win32/Win32SiteProbe.h"

#include <windows.h>

#include "platform/odbc/OdbcConnection.h"
#include "platform/win32/Handles.h"

namespace orvanta::check::win32 {

namespace {

// Opens with the access asked and closes again: the system checks the rights, nothing is written.
bool Opens(const std::string& path, DWORD access, DWORD flags) {
    platform::win32::UniqueFile handle(CreateFileA(path.c_str(), access,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, flags, nullptr));
    return static_cast<bool>(handle);
}

}  // namespace

std::string Win32SiteProbe::WindowsFolder() {
    char folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

bool Win32SiteProbe::CanAppend(const std::string& file) { return Opens(file, FILE_APPEND_DATA, FILE_ATTRIBUTE_NORMAL); }

bool Win32SiteProbe::CanAddFiles(const std::string& folder) {
    return Opens(folder, FILE_ADD_FILE, FILE_FLAG_BACKUP_SEMANTICS);
}

std::vector<std::string> Win32SiteProbe::OdbcDrivers() { return platform::odbc::InstalledDrivers(); }

std::string Win32SiteProbe::Architecture() { return sizeof(void*) == 8 ? "64-bit" : "32-bit"; }

}  // namespace orvanta::check::win32
