// The registry entries of the class, its ProgID, its interface and the type library.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orvanta::com {

enum class RegistrationScope { Machine, User };

struct RegistryValue {
    std::wstring key;    // below Software\Classes
    std::wstring name;   // empty: the key's default value
    std::wstring value;  // REG_SZ; empty with an empty name: the key alone, without a value
};

// The class's ProgID and the class and type library identifiers in registry form ("{...}").
struct ClassIdentity {
    std::wstring progId;
    std::wstring classId;
    std::wstring libraryId;
};
ClassIdentity Identity();

// Everything registration writes, for the library file at modulePath.
std::vector<RegistryValue> RegistryEntries(const std::wstring& modulePath);

// Writes the entries under HKLM\Software\Classes (Machine) or HKCU\Software\Classes (User). In the keys
// that 32-bit and 64-bit servers share (the ProgID, the type library), values already there are kept.
HRESULT Register(RegistrationScope scope, const std::wstring& modulePath);
// Removes this server's keys: its class and interface keys, its <Platform> entry of the type library, and the
// shared keys once no server of either pointer size is left for the class. Keys that were not there are no
// failure.
HRESULT Unregister(RegistrationScope scope);

}  // namespace orvanta::com
