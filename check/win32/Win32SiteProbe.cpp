#include "Win32SiteProbe.h"

#include <windows.h>

// The ODBC headers build on windows.h.
#include <sql.h>
#include <sqlext.h>

namespace orvanta::check::win32 {

namespace {

// Opens with the access asked and closes again: the system checks the rights, nothing is written.
bool Opens(const std::string& path, DWORD access, DWORD flags) {
    HANDLE handle = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

struct OdbcEnvironment {
    SQLHENV handle = SQL_NULL_HENV;
    OdbcEnvironment() {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle))) handle = SQL_NULL_HENV;
        if (handle) SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    }
    ~OdbcEnvironment() {
        if (handle) SQLFreeHandle(SQL_HANDLE_ENV, handle);
    }
    OdbcEnvironment(const OdbcEnvironment&) = delete;
    OdbcEnvironment& operator=(const OdbcEnvironment&) = delete;
};

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

std::vector<std::string> Win32SiteProbe::OdbcDrivers() {
    std::vector<std::string> drivers;
    OdbcEnvironment environment;
    if (!environment.handle) return drivers;
    SQLCHAR name[512];
    SQLCHAR attributes[2048];
    SQLSMALLINT nameLength = 0, attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDrivers(environment.handle, direction, name, sizeof name, &nameLength, attributes,
                                    sizeof attributes, &attributesLength))) {
        drivers.emplace_back(reinterpret_cast<const char*>(name));
        direction = SQL_FETCH_NEXT;
    }
    return drivers;
}

std::string Win32SiteProbe::Architecture() { return sizeof(void*) == 8 ? "64-bit" : "32-bit"; }

}  // namespace orvanta::check::win32
