// Dates as the automation runtime reads and shows them with United States settings, for unit tests.
#pragma once

#include "platform/DateFormat.h"

namespace platform::fake {

// Reads three numbers separated by "/" or "-": year first when it has four digits (Y-M-D), otherwise M-D-Y,
// swapping month and day when the month is above 12 and the day is not; two-digit years 00-29 are 20xx,
// 30-99 19xx. Anything else, or a day the month lacks, is no date. Shows M/D/YYYY and h:mm:ss AM.
class UsDateFormat : public IDateFormat {
public:
    std::optional<double> ReadDate(std::u16string_view text) override;
    std::u16string ShortDate(double date) override;
    std::u16string GeneralDate(const std::tm& time) override;

    // Days from 1899-12-30 to a civil date, and back.
    static long SerialOf(int year, int month, int day);
    static void CivilOf(long serial, int& year, int& month, int& day);
};

}  // namespace platform::fake
