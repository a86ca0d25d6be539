// Clock, computer name, module handle, console and UUIDs of the running Windows process.
#pragma once

#include "platform/System.h"

namespace platform::win32 {

class Win32Clock : public IClock {
public:
    std::int64_t UnixNow() override;
    std::tm LocalNow() override;
};

class Win32System : public ISystem {
public:
    Win32System() = default;
    Win32System(const Win32System&) = delete;
    Win32System& operator=(const Win32System&) = delete;
    // Balances a successful CoInitialize.
    ~Win32System() override;

    std::string ComputerName(std::size_t bufferSize) override;
    bool HaveModuleHandle() override;
    void DetachConsole() override;
    UuidResult CreateUuid() override;

private:
    bool comTried_ = false;
    bool comInitialised_ = false;
};

}  // namespace platform::win32
