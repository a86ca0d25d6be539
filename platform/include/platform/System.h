// Clock, machine identity, process and UUIDs.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace platform {

class IClock {
public:
    virtual ~IClock() = default;
    // Seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t UnixNow() = 0;
    // The local time now, broken down.
    virtual std::tm LocalNow() = 0;
};

struct UuidResult {
    long status = 0;                       // RPC status of UuidCreate; 0 is plain success
    std::array<std::uint8_t, 16> bytes{};  // in memory order
};

class ISystem {
public:
    virtual ~ISystem() = default;
    // GetComputerNameA with a buffer of bufferSize bytes; empty on failure.
    virtual std::string ComputerName(std::size_t bufferSize) = 0;
    // Whether the program's own module handle can be obtained.
    virtual bool HaveModuleHandle() = 0;
    virtual void DetachConsole() = 0;
    // Initialises the component runtime of the calling thread once, then creates a UUID.
    virtual UuidResult CreateUuid() = 0;
};

}  // namespace platform
