// The system's ANSI code page and the user's time format through the Windows national-language functions.
#pragma once

#include "platform/Locale.h"

namespace orvanta::win32 {

class Win32Locale : public platform::ILocale {
public:
    // WideCharToMultiByte with CP_ACP; characters the code page lacks become its default character.
    std::string ToAnsi(std::u16string_view text) override;
    std::u16string FromAnsi(std::string_view text) override;
    // GetTimeFormat of the user's locale with its long time format.
    std::u16string LongTime(const std::tm& time) override;
    // LOCALE_SDATE of the user's locale; "/" when it cannot be read.
    std::u16string DateSeparator() override;
};

}  // namespace orvanta::win32
