// Starting programs and opening documents through the shell.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// A window of the platform, opaque to portable code; nullptr is none.
using WindowHandle = void*;

class IShell {
public:
    virtual ~IShell() = default;
    // ShellExecuteA: owner may be nullptr; an empty verb, parameters or directory is passed as none. Answers the
    // raw result number: above 32 on success, else the error (2 file not found, 31 no association, ...). Does
    // not wait for the program.
    virtual std::intptr_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                                  const std::string& parameters, const std::string& directory, int showCommand) = 0;
    // ShellExecuteW with the verb "open", no parameters and no working folder: opens a document by its own name,
    // whatever the code page. Answers as Execute.
    virtual std::intptr_t Open(WindowHandle owner, const std::u16string& file, int showCommand) = 0;
};

}  // namespace platform
