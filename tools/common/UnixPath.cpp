#include "tools/common/UnixPath.h"

#include <windows.h>

namespace tools {

std::string ToWindowsPath(const std::string& path) {
    if (path.empty() || path.front() != '/') return path;
    using DosName = WCHAR*(CDECL*)(const char*);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto toDos =
        kernel ? reinterpret_cast<DosName>(reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")))
               : nullptr;
    if (!toDos) return path;
    WCHAR* dos = toDos(path.c_str());
    if (!dos) return path;
    std::string result;
    int size = WideCharToMultiByte(CP_ACP, 0, dos, -1, nullptr, 0, nullptr, nullptr);
    if (size > 1) {
        result.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_ACP, 0, dos, -1, result.data(), size, nullptr, nullptr);
        result.resize(static_cast<std::size_t>(size - 1));
    }
    HeapFree(GetProcessHeap(), 0, dos);
    return result.empty() ? path : result;
}

}  // namespace tools
