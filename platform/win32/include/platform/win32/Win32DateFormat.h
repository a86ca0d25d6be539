// Dates through the automation runtime and the national-language functions of the user's locale.
#pragma once

#include "platform/DateFormat.h"

namespace platform::win32 {

class Win32DateFormat : public IDateFormat {
public:
    std::optional<double> ReadDate(std::u16string_view text) override;
    std::u16string ShortDate(double date) override;
    std::u16string GeneralDate(const std::tm& time) override;
};

}  // namespace platform::win32
