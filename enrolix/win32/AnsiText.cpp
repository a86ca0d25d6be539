#include "enrolix/win32/AnsiText.h"

#include <windows.h>

namespace enrolix::win32 {

std::string UpperCaseAnsi(std::string_view text) {
    std::string upper(text);
    if (!upper.empty() && upper.size() <= MAXDWORD) CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

}  // namespace enrolix::win32
