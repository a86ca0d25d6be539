// The system's ANSI code page and regional formats, for code that holds its text as UTF-16.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace platform {

class ILocale {
public:
    virtual ~ILocale() = default;
    // Characters the code page lacks become its substitute character.
    virtual std::string ToAnsi(std::u16string_view text) = 0;
    virtual std::u16string FromAnsi(std::string_view text) = 0;
    // The time of day in the user's long time format, e.g. "8:22:00 PM".
    virtual std::u16string LongTime(const std::tm& time) = 0;
    // The user's date separator, e.g. "/" under U.S. settings.
    virtual std::u16string DateSeparator() = 0;
};

}  // namespace platform
