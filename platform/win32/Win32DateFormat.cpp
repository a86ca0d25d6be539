#include "platform/win32/Win32DateFormat.h"

#include <windows.h>

// The automation headers build on windows.h.
#include <oleauto.h>

#include <string>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemTime.h"

namespace platform::win32 {

std::optional<double> Win32DateFormat::ReadDate(std::u16string_view text) {
    std::wstring copy(text.begin(), text.end());
    DATE date = 0;
    if (FAILED(VarDateFromStr(copy.data(), LOCALE_USER_DEFAULT, 0, &date))) return std::nullopt;
    return date;
}

std::u16string Win32DateFormat::ShortDate(double date) {
    SYSTEMTIME st{};
    if (!VariantTimeToSystemTime(date, &st)) return {};
    wchar_t buffer[128];
    int size = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128);
    if (size <= 1) return {};
    return std::u16string(buffer, buffer + size - 1);
}

std::u16string Win32DateFormat::GeneralDate(const std::tm& time) {
    SYSTEMTIME st = SystemTimeOf(time);
    DATE date = 0;
    if (!SystemTimeToVariantTime(&st, &date)) return {};
    UniqueBstr text;
    if (FAILED(VarBstrFromDate(date, LOCALE_USER_DEFAULT, 0, text.put())) || !text) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(text.get()), SysStringLen(text.get()));
}

}  // namespace platform::win32
