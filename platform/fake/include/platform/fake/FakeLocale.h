// A Latin-1 code page (with the double-byte characters a test adds) and U.S. long time format and date separator for
// native tests.
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "platform/Locale.h"

namespace platform::fake {

class FakeLocale : public platform::ILocale {
public:
    std::string ToAnsi(std::u16string_view text) override {
        std::string ansi;
        for (char16_t c : text) {
            auto pair = doubleByte.find(c);
            if (pair != doubleByte.end())
                ansi += pair->second;
            else
                ansi += c < 0x100 ? static_cast<char>(c) : '?';
        }
        return ansi;
    }
    std::u16string FromAnsi(std::string_view text) override {
        std::u16string wide;
        for (std::size_t i = 0; i < text.size(); ++i) {
            char16_t c = static_cast<unsigned char>(text[i]);
            for (const auto& [character, bytes] : doubleByte)
                if (text.substr(i, 2) == bytes) c = character, ++i;
            wide += c;
        }
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
    // Characters of a double-byte code page, e.g. u'\u8A31' as "\xB3\x5C" (code page 950: the second byte is "\\").
    std::map<char16_t, std::string> doubleByte;
};

}  // namespace platform::fake
