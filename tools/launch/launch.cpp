// launch: starts a program, waits for it and reports its full 32-bit exit code.
//
//   launch [--cwd DIR] [--exit-code-file FILE] [--arch-file FILE] [--timeout-ms N] [--] PROGRAM ARGS...
//   launch [--cwd DIR] [--exit-code-file FILE] [--arch-file FILE] [--timeout-ms N] --command-line "PROGRAM ARGS..."
//
// The program's command line is the rest of launch's own command line after its options, taken as it
// stands, so quotes and backslashes reach the program unchanged; --command-line gives it explicitly.
// The program inherits launch's standard handles. When it ends, its exit code is printed as a signed
// decimal on a line of its own and written the same way to FILE, and launch exits with it. DIR and FILE
// may be host paths ("/..."). When the program is still running after N ms it is terminated, nothing is
// written to FILE and launch exits with 124; a program that cannot be started gives 127, a usage error 2.
// --arch-file names a file that receives "launch=B program=B" once the program has ended: the pointer
// width in bits of launch itself and of the program's process (32 for a WoW64 process), so that a caller
// can tell a 32-bit run from a 64-bit one.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "tools/common/CommandLine.h"
#include "tools/common/UnixPath.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kTimedOut = 124;
constexpr int kNotStarted = 127;

struct Options {
    std::optional<std::string> cwd;
    std::optional<std::string> exitCodeFile;
    std::optional<std::string> archFile;
    std::optional<DWORD> timeoutMs;
    std::string commandLine;
};

std::optional<Options> Parse(const char* commandLine) {
    Options options;
    const char* p = tools::ReadProgramName(commandLine);
    while (*p) {
        const char* start = p;
        std::string word = tools::NextArgument(p);
        if (word == "--") break;
        if (word.rfind("--", 0) != 0) {
            p = start;
            break;
        }
        if (!*p) return std::nullopt;
        std::string value = tools::NextArgument(p);
        if (word == "--cwd") {
            options.cwd = tools::ToWindowsPath(value);
        } else if (word == "--exit-code-file") {
            options.exitCodeFile = tools::ToWindowsPath(value);
        } else if (word == "--arch-file") {
            options.archFile = tools::ToWindowsPath(value);
        } else if (word == "--timeout-ms") {
            char* end = nullptr;
            unsigned long ms = std::strtoul(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0') return std::nullopt;
            options.timeoutMs = static_cast<DWORD>(ms);
        } else if (word == "--command-line") {
            options.commandLine = value;
            if (*p) return std::nullopt;
            return options.commandLine.empty() ? std::nullopt : std::optional<Options>(options);
        } else {
            return std::nullopt;
        }
    }
    options.commandLine = p;
    if (options.commandLine.empty()) return std::nullopt;
    return options;
}

std::string LastErrorText() {
    DWORD error = GetLastError();
    char* text = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = "error " + std::to_string(error);
    if (length && text) {
        std::string detail(text, length);
        while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r' || detail.back() == ' '))
            detail.pop_back();
        message += ": " + detail;
    }
    if (text) LocalFree(text);
    return message;
}

constexpr int kOwnBits = static_cast<int>(sizeof(void*) * 8);

// The pointer width of a process: a WoW64 process is 32-bit; without WoW64 on our side, every process has
// our width, except a 64-bit one seen from a WoW64 process.
int ProcessBits(HANDLE process) {
    BOOL self = FALSE;
    BOOL other = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &self) || !IsWow64Process(process, &other)) return 0;
    if (other) return 32;
    return kOwnBits == 64 || self ? 64 : 32;
}

bool WriteLine(const std::string& path, const std::string& line) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fprintf(file, "%s\n", line.c_str()) > 0;
    if (file && std::fclose(file) != 0) written = false;
    if (!written) std::fprintf(stderr, "launch: cannot write %s\n", path.c_str());
    return written;
}

void ShareStandardHandle(DWORD which, HANDLE& slot) {
    slot = GetStdHandle(which);
    if (slot && slot != INVALID_HANDLE_VALUE) SetHandleInformation(slot, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
}

int Launch(const Options& options) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    ShareStandardHandle(STD_INPUT_HANDLE, startup.hStdInput);
    ShareStandardHandle(STD_OUTPUT_HANDLE, startup.hStdOutput);
    ShareStandardHandle(STD_ERROR_HANDLE, startup.hStdError);

    std::vector<char> commandLine(options.commandLine.begin(), options.commandLine.end());
    commandLine.push_back('\0');
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        options.cwd ? options.cwd->c_str() : nullptr, &startup, &process)) {
        std::fprintf(stderr, "launch: cannot start %s: %s\n", options.commandLine.c_str(), LastErrorText().c_str());
        return kNotStarted;
    }
    platform::win32::UniqueHandle processHandle(process.hProcess);
    platform::win32::UniqueHandle threadHandle(process.hThread);
    const int programBits = ProcessBits(process.hProcess);

    DWORD wait = WaitForSingleObject(process.hProcess, options.timeoutMs ? *options.timeoutMs : INFINITE);
    if (wait == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, static_cast<UINT>(-1));
        WaitForSingleObject(process.hProcess, 5000);
        std::fprintf(stderr, "launch: %s still running after %lu ms; terminated\n", options.commandLine.c_str(),
                     *options.timeoutMs);
        return kTimedOut;
    }
    DWORD exitCode = 0;
    if (wait != WAIT_OBJECT_0 || !GetExitCodeProcess(process.hProcess, &exitCode)) {
        std::fprintf(stderr, "launch: cannot read the exit code: %s\n", LastErrorText().c_str());
        return kNotStarted;
    }
    long code = static_cast<long>(static_cast<LONG>(exitCode));
    std::fflush(stdout);
    std::printf("%ld\n", code);
    std::fflush(stdout);
    if (options.archFile &&
        !WriteLine(*options.archFile, "launch=" + std::to_string(kOwnBits) + " program=" + std::to_string(programBits)))
        return kNotStarted;
    if (options.exitCodeFile && !WriteLine(*options.exitCodeFile, std::to_string(code))) return kNotStarted;
    return static_cast<int>(exitCode);
}

}  // namespace

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    std::optional<Options> options = Parse(GetCommandLineA());
    if (!options) {
        std::fputs(
            "usage: launch [--cwd DIR] [--exit-code-file FILE] [--arch-file FILE] [--timeout-ms N] [--] PROGRAM "
            "ARGS...\n"
            "       launch [--cwd DIR] [--exit-code-file FILE] [--arch-file FILE] [--timeout-ms N] --command-line "
            "TEXT\n",
            stderr);
        return kUsageError;
    }
    return Launch(*options);
}
