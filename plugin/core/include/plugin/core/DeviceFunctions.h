// The sixteen device functions: a capture and a review for each of the eight models.
#pragma once

#include <array>
#include <string_view>

namespace orvanta {

inline constexpr std::array<std::u16string_view, 16> kDeviceFunctions = {
    u"Capture VexaFyndra", u"Review VexaFyndra", u"Capture Sorvane", u"Review Sorvane",
    u"Capture Belcor",     u"Review Belcor",     u"Capture Trelly",  u"Review Trelly",
    u"Capture Fyndra",     u"Review Fyndra",     u"Capture Ospen",   u"Review Ospen",
    u"Capture Halvery",    u"Review Halvery",    u"Capture Pendro",  u"Review Pendro",
};

// Exact comparison: same characters, same case, no trimming.
bool IsDeviceFunction(std::u16string_view name);

inline constexpr std::u16string_view kRegistrationProgram = u"C:\\SCANSUITE\\bin\\Enrolix.exe";

}  // namespace orvanta
