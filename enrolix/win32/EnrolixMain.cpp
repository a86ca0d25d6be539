// Enrolix.exe: builds the tool from the Win32 adapters and the ODBC driver and runs one request.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "enrolix/core/Enrolix.h"
#include "enrolix/win32/AnsiText.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32System.h"

namespace {

// The arguments after the program name, as the C runtime split the command line (Windows quoting rules,
// ANSI code page).
std::vector<std::string> ProgramArguments() {
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc && __argv != nullptr; ++i) arguments.emplace_back(__argv[i] ? __argv[i] : "");
    return arguments;
}

int RunOnce() {
    platform::win32::Win32Profile profile;
    platform::win32::Win32FileSystem files;
    platform::win32::Win32MessageBox boxes;
    platform::win32::Win32Clock clock;
    platform::win32::Win32System system;
    platform::odbc::OdbcDriver db;
    enrolix::Tool tool{profile, files, boxes, clock, system, db};
    tool.upperCase = enrolix::win32::UpperCaseAnsi;
    return enrolix::RunEnrolix(tool, ProgramArguments());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        return RunOnce();
    } catch (...) {
        // Whatever escaped the tool's own guards: a failure, never a crash report.
        return 0;
    }
}
