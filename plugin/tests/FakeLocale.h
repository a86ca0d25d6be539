// A Latin-1 code page and U.S. long time format and date separator for native tests.
#pragma once

#include <cstdio>

#include "platform/Locale.h"

namespace orvanta::test {

class FakeLocale : public platform::ILocale {
public:
    std::string ToAnsi(std::u16string_view text) override {
        std::string ansi;
        for (char16_t c : text) ansi += c < 0x100 ? static_cast<char>(c) : '?';
        return ansi;
    }
    std::u16string FromAnsi(std::string_view text) override {
        std::u16string wide;
        for (char c : text) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
        return wide;
    }
    std::u16string LongTime(const std::tm& t) override {
        char text[32];
        int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
        std::snprintf(text, sizeof text, "%d:%02d:%02d %s", hour % 100, t.tm_min % 100, t.tm_sec % 100,
                      t.tm_hour < 12 ? "AM" : "PM");
        return FromAnsi(text);
    }
    std::u16string DateSeparator() override { return dateSeparator; }

    std::u16string dateSeparator = u"/";
};

}  // namespace orvanta::test
