// recorder: a stand-in for a program that another program starts. It appends what it received to a record file
// and exits with 0 at once. Like the registration tool it has no console window. The record:
//
//   command line: <the whole command line>
//   argc: <n>
//   argv[0]: <...>            one line per argument, as the C runtime split the command line
//   wide argc: <n>
//   wide argv[0]: <...>       one line per argument, as CommandLineToArgvW split the wide command line (UTF-8)
//   cwd: <working folder>
//   show: <STARTUPINFO wShowWindow, or "none" without STARTF_USESHOWWINDOW>
//   end
//
// The record file is %ORVANTA_RECORD_FILE% when that is set (a Windows path, or a host path "/..."), otherwise
// the program's own path followed by ".record" (C:\SCANSUITE\bin\Enrolix.exe.record). Texts are written as
// received, in the ANSI code page (the wide lines in UTF-8), lines ending with CRLF; a reader waits for the "end" line.
// Registered as the open verb of a file type, it records the document path as argv[1].
#include <windows.h>

// The shell header builds on windows.h.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/Handles.h"
#include "tools/common/UnixPath.h"

namespace {

std::string RecordFile() {
    if (const char* named = std::getenv("ORVANTA_RECORD_FILE"); named && *named) return tools::ToWindowsPath(named);
    char path[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length) + ".record";
}

std::string Utf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.pop_back();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    std::string record = "command line: ";
    record += GetCommandLineA();
    record += "\r\nargc: " + std::to_string(argc) + "\r\n";
    for (int i = 0; i < argc; ++i) record += "argv[" + std::to_string(i) + "]: " + argv[i] + "\r\n";
    int wideCount = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &wideCount)) {
        record += "wide argc: " + std::to_string(wideCount) + "\r\n";
        for (int i = 0; i < wideCount; ++i) record += "wide argv[" + std::to_string(i) + "]: " + Utf8(wide[i]) + "\r\n";
        LocalFree(wide);
    }
    char cwd[MAX_PATH * 2] = {};
    DWORD length = GetCurrentDirectoryA(sizeof cwd, cwd);
    record += "cwd: " + std::string(cwd, length < sizeof cwd ? length : 0) + "\r\n";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    record += "show: ";
    record += (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(startup.wShowWindow) : std::string("none");
    record += "\r\nend\r\n";

    // Another start may be writing at the same moment: retry while the file is busy.
    std::string file = RecordFile();
    for (int attempt = 0; attempt < 100; ++attempt) {
        platform::win32::UniqueFile out(
            CreateFileA(file.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) {
            Sleep(20);
            continue;
        }
        DWORD written = 0;
        BOOL ok = WriteFile(out.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
        return ok && written == record.size() ? 0 : 1;
    }
    std::fprintf(stderr, "recorder: cannot write %s\n", file.c_str());
    return 1;
}
