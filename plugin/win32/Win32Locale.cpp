#include "plugin/win32/Win32Locale.h"

#include <windows.h>

#include "platform/win32/SystemTime.h"

namespace orvanta::win32 {

std::string Win32Locale::ToAnsi(std::u16string_view text) {
    if (text.empty()) return {};
    auto wide = reinterpret_cast<const wchar_t*>(text.data());
    int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, result.data(), size, nullptr, nullptr);
    return result;
}

std::u16string Win32Locale::FromAnsi(std::string_view text) {
    if (text.empty()) return {};
    int length = static_cast<int>(text.size());
    auto convert = [&](std::u16string& result) {
        return MultiByteToWideChar(CP_ACP, 0, text.data(), length, reinterpret_cast<wchar_t*>(result.data()),
                                   static_cast<int>(result.size()));
    };
    // One UTF-16 unit a byte is room enough for the usual code pages: one call.
    std::u16string result(text.size(), u'\0');
    int size = convert(result);
    if (size <= 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
        result.resize(needed > 0 ? static_cast<std::size_t>(needed) : 0);
        size = result.empty() ? 0 : convert(result);
    }
    result.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    return result;
}

std::u16string Win32Locale::LongTime(const std::tm& time) {
    SYSTEMTIME st = platform::win32::SystemTimeOf(time);
    wchar_t buffer[128];
    int size = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
    if (size <= 1) return {};
    return std::u16string(buffer, buffer + size - 1);
}

std::u16string Win32Locale::DateSeparator() {
    wchar_t buffer[8];
    int size = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, buffer, 8);
    if (size <= 1) return u"/";
    return std::u16string(buffer, buffer + size - 1);
}

}  // namespace orvanta::win32
