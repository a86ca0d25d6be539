// The shell through ShellExecuteA and ShellExecuteW.
#pragma once

#include "platform/Shell.h"

namespace platform::win32 {

class Win32Shell : public IShell {
public:
    std::intptr_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                          const std::string& parameters, const std::string& directory, int showCommand) override;
    std::intptr_t Open(WindowHandle owner, const std::u16string& file, int showCommand) override;
};

}  // namespace platform::win32
