// Reading and showing dates as the automation runtime does, in the user's regional settings.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class IDateFormat {
public:
    virtual ~IDateFormat() = default;
    // The text as an automation date (days since 1899-12-30, the time of day as fraction) when the runtime
    // reads it as a date (VarDateFromStr in the user's locale); nullopt otherwise.
    virtual std::optional<double> ReadDate(std::u16string_view text) = 0;
    // The date part in the user's short date format, e.g. "5/21/2012".
    virtual std::u16string ShortDate(double date) = 0;
    // A moment in the general date format: short date, blank, long time ("12/7/2026 8:22:00 PM").
    virtual std::u16string GeneralDate(const std::tm& time) = 0;
};

}  // namespace platform
