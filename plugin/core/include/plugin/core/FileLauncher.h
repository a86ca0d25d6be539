// Opening a file in the program the system associates with its type.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "plugin/core/Services.h"

namespace orvanta {

// The result text of a device function or a launch that went well.
inline constexpr std::u16string_view kWasOk = u"Was OK";

// The text after the last "." of a path; the whole path when it has none.
std::u16string ExtensionOf(std::u16string_view path);
// The result text of the shell's answer to opening path: "Was OK" above 32, the missing association for 31,
// the viewer problem otherwise.
std::u16string LaunchResultText(std::intptr_t shellResult, std::u16string_view path);

// Hands path to the shell's "open" with window as owner, shown normally, and does not wait. The result text
// above; after an unexpected error (reported with the context "LaunchFile") the empty text.
std::u16string LaunchFile(Services& services, std::u16string_view path, platform::WindowHandle window);

}  // namespace orvanta
