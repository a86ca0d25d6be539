// The host's equipment list: FindEquipmentNumber answers the number of the first of the listed entries whose
// text is "<number>:<name>:<key>", 0 when there is none, and fails only as the VB runtime would, with
// "Overflow" or "Type mismatch".
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzInput.h"
#include "platform/fake/FakePlatform.h"
#include "plugin/core/HostConfig.h"
#include "plugin/core/ImageFilesForm.h"
#include "plugin/core/Text.h"
#include "plugin/core/VbError.h"

namespace {

using orvanta::VbError;

// The bytes as Latin-1 text on one INI line.
std::u16string Line(const std::string& bytes) {
    std::u16string text;
    for (unsigned char c : bytes) text += c == '\r' || c == '\n' ? u' ' : static_cast<char16_t>(c);
    return text;
}

// What a call is expected to give: a number, or the VB error number it raises.
struct Outcome {
    std::int32_t error = 0;
    std::int16_t number = 0;
    bool operator==(const Outcome&) const = default;
};

template <class Call>
Outcome Run(Call&& call) {
    try {
        return Outcome{0, call()};
    } catch (const VbError& e) {
        return Outcome{e.Number(), 0};
    }
}

// The lookup shows no window.
class NoWindow : public orvanta::IImageFilesWindow {
public:
    void ShowModal(orvanta::ImageFilesForm&) override {}
};

std::string Describe(const Outcome& o) {
    return o.error ? "error " + std::to_string(o.error) : "number " + std::to_string(o.number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> fields = fuzz::Fields(data, size);
    if (fields.size() < 2) return 0;

    platform::fake::FakePlatform fake;
    NoWindow window;
    orvanta::Services services{fake.profile, fake.files, fake.boxes, fake.clock,   fake.locale,
                               fake.shell,   fake.dates, window,     u"C:\\Plugin"};

    const std::u16string key = Line(fields[0]);
    fake.profile.Write("PXEquip.ini", "Equipment", "Number", fake.locale.ToAnsi(Line(fields[1])));
    for (std::size_t i = 2; i < fields.size(); ++i)
        fake.profile.Write("PXEquip.ini", "Equipment", std::to_string(i - 1), fake.locale.ToAnsi(Line(fields[i])));

    // The expected answer, from the values as the plug-in reads them.
    auto read = [&](std::u16string_view name) {
        return orvanta::ReadHostValue(services, orvanta::kEquipIni, u"Equipment", name).value_or(u"");
    };
    const double count = orvanta::RoundHalfEven(orvanta::LeadingNumber(read(u"Number")));
    if (count > 64 && count <= 32767) return 0;  // long lists only cost time
    Outcome expected;
    if (count > 32767) {
        expected.error = orvanta::vb::kOverflow;
    } else if (count >= 1 && key.find(u':') != std::u16string::npos) {
        const std::size_t colons = std::count(key.begin(), key.end(), u':');
        for (int i = 1; colons <= 2 && i <= static_cast<int>(count); ++i) {
            std::u16string entry = read(orvanta::Decimal(i));
            const std::u16string tail = u":" + key;
            if (entry.size() < tail.size() || entry.compare(entry.size() - tail.size(), tail.size(), tail) != 0)
                continue;
            std::u16string head = entry.substr(0, entry.size() - tail.size());
            if (std::count(head.begin(), head.end(), u':') != 1) continue;
            expected = Run([&] { return orvanta::TextToInt16(head.substr(0, head.find(u':'))); });
            break;
        }
    }
    const Outcome got = Run([&] { return orvanta::FindEquipmentNumber(services, key); });
    fuzz::Check(got == expected, "the first entry that spells the key gives the number", Describe(got),
                Describe(expected));
    return 0;
}
