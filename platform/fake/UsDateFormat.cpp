#include "platform/fake/UsDateFormat.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace platform::fake {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr long kSerialOf1970 = 25569;

bool LeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

std::u16string Ascii(const char* text) {
    std::u16string result;
    for (; *text; ++text) result += static_cast<char16_t>(*text);
    return result;
}

}  // namespace

long UsDateFormat::SerialOf(int year, int month, int day) { return DaysFromCivil(year, month, day) + kSerialOf1970; }

void UsDateFormat::CivilOf(long serial, int& year, int& month, int& day) {
    long z = serial - kSerialOf1970 + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

std::optional<double> UsDateFormat::ReadDate(std::u16string_view text) {
    std::vector<std::u16string_view> parts;
    char16_t separator = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] >= u'0' && text[i] <= u'9') continue;
        if (i < text.size()) {
            if (text[i] != u'/' && text[i] != u'-') return std::nullopt;
            if (separator && text[i] != separator) return std::nullopt;
            separator = text[i];
        }
        if (i == start) return std::nullopt;
        parts.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    if (parts.size() != 3) return std::nullopt;
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        if (parts[i].size() > 4) return std::nullopt;
        numbers[i] = 0;
        for (char16_t c : parts[i]) numbers[i] = numbers[i] * 10 + (c - u'0');
    }
    int year, month, day;
    if (parts[0].size() == 4) {
        year = numbers[0], month = numbers[1], day = numbers[2];
    } else {
        month = numbers[0], day = numbers[1], year = numbers[2];
        if (parts[2].size() <= 2) year += year < 30 ? 2000 : 1900;
    }
    if (month > 12 && day <= 12) std::swap(month, day);
    if (month < 1 || month > 12 || day < 1 || day > DaysIn(year, month)) return std::nullopt;
    return static_cast<double>(SerialOf(year, month, day));
}

std::u16string UsDateFormat::ShortDate(double date) {
    int year, month, day;
    CivilOf(static_cast<long>(std::floor(date)), year, month, day);
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d/%d", month, day, year);
    return Ascii(text);
}

std::u16string UsDateFormat::GeneralDate(const std::tm& t) {
    int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d %s", (t.tm_mon + 1) % 100, t.tm_mday % 100,
                  (t.tm_year + 1900) % 10000, hour % 100, t.tm_min % 100, t.tm_sec % 100, t.tm_hour < 12 ? "AM" : "PM");
    return Ascii(text);
}

}  // namespace platform::fake
