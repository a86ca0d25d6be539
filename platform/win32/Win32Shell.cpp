#include "platform/win32/Win32Shell.h"

#include <windows.h>

// The shell header builds on windows.h.
#include <shellapi.h>

namespace platform::win32 {

namespace {

const char* OrNone(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

std::intptr_t Win32Shell::Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                                  const std::string& parameters, const std::string& directory, int showCommand) {
    HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), OrNone(verb), file.c_str(), OrNone(parameters),
                                     OrNone(directory), showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

std::intptr_t Win32Shell::Open(WindowHandle owner, const std::u16string& file, int showCommand) {
    std::wstring wide(file.begin(), file.end());
    HINSTANCE result = ShellExecuteW(static_cast<HWND>(owner), L"open", wide.c_str(), nullptr, nullptr, showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace platform::win32
