// OrvantaCheck.exe: checks the workstation's set-up read-only and prints what it found.
//
//   OrvantaCheck [/html FILE]     exit code 0 all OK, 1 warnings only, 2 a failure
#include <windows.h>

#include <cstdio>
#include <string>

#include "check/core/CheckReport.h"
#include "check/core/ReadOnly.h"
#include "check/core/SiteChecks.h"
#include "check/win32/PluginRegistry.h"
#include "check/win32/Win32SiteProbe.h"
#include "enrolix/core/Maintenance.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32DateFormat.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32System.h"
#include "plugin/core/DeviceFunctions.h"
#include "plugin/core/Text.h"
#include "plugin/win32/Win32Locale.h"

namespace {

constexpr const char* kUsage =
    "OrvantaCheck: checks this workstation's set-up of Orvanta.dll and Enrolix.exe. It changes nothing.\r\n"
    "\r\n"
    "  OrvantaCheck [/html FILE]\r\n"
    "\r\n"
    "  /html FILE  also writes the report as one HTML page, to attach to a support request\r\n"
    "  /?          shows this text\r\n"
    "\r\n"
    "Exit code: 0 all checks OK, 1 warnings only, 2 a failure (or a wrong command line).\r\n";

// Writes ANSI text to standard output, in the console's code page when it is a console.
void Print(const std::string& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    std::string shown = text;
    if (GetConsoleMode(out, &mode)) CharToOemBuffA(text.c_str(), shown.data(), static_cast<DWORD>(shown.size()));
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    std::fflush(stdout);
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
    platform::win32::UniqueFile file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
           written == data.size();
}

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

int Run(int argc, char** argv) {
    std::string htmlFile;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "/?" || argument == "-?" || argument == "/help") {
            Print(kUsage);
            return 0;
        }
        if (lstrcmpiA(argument.c_str(), "/html") == 0 && i + 1 < argc) {
            htmlFile = argv[++i];
            continue;
        }
        Print("Unknown argument: " + argument + "\r\n\r\n" + kUsage);
        return 2;
    }

    platform::win32::Win32Profile realProfile;
    // Each program's code over a file system of its own, holding paths as that program does.
    platform::win32::Win32FileSystem realPluginFiles{platform::win32::Win32FileSystem::PathText::Utf8};
    platform::win32::Win32FileSystem realToolFiles;
    platform::win32::Win32Clock clock;
    platform::win32::Win32System system;
    platform::win32::Win32DateFormat dates;
    platform::odbc::OdbcDriver realDb;
    orvanta::win32::Win32Locale locale;
    orvanta::check::win32::Win32SiteProbe probe;

    // The tool runs in the folder of the registration program that the capture starts.
    const std::string registrationProgram = locale.ToAnsi(orvanta::kRegistrationProgram);
    const std::string toolFolder = enrolix::GetFolderOfPath(registrationProgram);
    orvanta::check::ReadOnlyFileSystem pluginFiles(realPluginFiles, orvanta::ToUtf8(locale.FromAnsi(toolFolder)));
    orvanta::check::ReadOnlyFileSystem toolFiles(realToolFiles, toolFolder);
    orvanta::check::ReadOnlyProfile profile(realProfile);
    orvanta::check::ReadOnlyDriver db(realDb);
    orvanta::check::SilentBoxes boxes;
    orvanta::check::NoShell shell;
    orvanta::check::NoImageFilesWindow window;
    orvanta::Services plugin{profile, pluginFiles, boxes, clock, locale, shell, dates, window, u""};
    enrolix::Tool tool{profile, toolFiles, boxes, clock, system, db};
    orvanta::check::Site site{plugin, tool, probe};

    orvanta::check::CheckReport report;
    orvanta::check::CheckHostFiles(site, report);
    orvanta::check::CheckDeviceFunctions(site, report);
    orvanta::check::win32::CheckPluginRegistration(site, report);
    orvanta::check::CheckRegistrationTool(site, report);

    const std::string heading = "Orvanta site check of " + ComputerName();
    Print(orvanta::check::ReportText(report, heading));
    if (!htmlFile.empty() && !WriteWholeFile(htmlFile, orvanta::check::ReportHtml(report, heading))) {
        Print("The HTML report could not be written to " + htmlFile + ".\r\n");
        return 2;
    }
    return report.ExitCode();
}

}  // namespace

int main(int argc, char** argv) {
    // No system error box either (a missing disk, say): the check may run from a remote shell.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    try {
        return Run(argc, argv);
    } catch (...) {
        Print("The site check stopped on an unexpected error.\r\n");
        return 2;
    }
}
