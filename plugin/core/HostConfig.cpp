#include "plugin/core/HostConfig.h"

#include "plugin/core/PluginLog.h"
#include "plugin/core/Text.h"
#include "plugin/core/Trap.h"
#include "plugin/core/VbError.h"

namespace orvanta {

namespace {

constexpr std::size_t kValueBuffer = 255;
constexpr std::u16string_view kNotConfigured = u"-3";
constexpr std::u16string_view kNotAbsolute = u"-4";
constexpr std::u16string_view kDatabaseFile = u"\\praxo.mdb";
// VB shows the project name when a box is given no title.
constexpr std::u16string_view kDefaultTitle = u"Orvanta";

void ShowUnreadablePraxoIni(Services& services, std::u16string_view title) {
    std::u16string text = u"Unable to find or read the " + std::u16string(kPraxoIni) + u" file.";
    services.boxes.Show(services.locale.ToAnsi(text), services.locale.ToAnsi(title),
                        {platform::MsgButtons::Ok, platform::MsgIcon::Critical});
}

bool LooksAbsolute(std::u16string_view path) { return Contains(path, u"\\\\") || Contains(path, u":"); }

}  // namespace

std::optional<std::u16string> ReadHostValue(Services& services, std::u16string_view file, std::u16string_view section,
                                            std::u16string_view key) {
    auto& locale = services.locale;
    std::string value =
        services.profile.Read(locale.ToAnsi(file), locale.ToAnsi(section), locale.ToAnsi(key), "", kValueBuffer);
    if (value.empty()) return std::nullopt;
    return locale.FromAnsi(value);
}

std::u16string GetPraxoDBPath(Services& services) {
    std::u16string result, path;
    Trap trap = Trap::Reporting(
        services, [&](int marker) { return u"GetPraxoDBPath- x=" + Decimal(marker) + u"    strPath=" + path; });
    trap.Run([&] {
        trap.Step(1);
        auto value = ReadHostValue(services, kPraxoIni, u"System", u"DataDir");
        trap.Step(2);
        if (value) {
            trap.Step(3);
            path = *value;
            if (LooksAbsolute(path)) {
                trap.Step(4);
                result = path;
            } else {
                trap.Step(7);
                result = kNotAbsolute;
            }
        } else {
            trap.Step(8);
            ShowUnreadablePraxoIni(services, kDefaultTitle);
            result = kNotConfigured;
        }
        trap.Step(9);
    });
    return result;
}

std::u16string GetPraxoDBPathOfExistingDatabase(Services& services) {
    std::u16string result, path;
    Trap::Reporting(services, [&](int) { return u"GetPraxoDBPath-strPath=" + path; }).Run([&] {
        auto value = ReadHostValue(services, kPraxoIni, u"System", u"DataDir");
        if (!value) {
            ShowUnreadablePraxoIni(services, kErrorTitle);
            result = kNotConfigured;
            return;
        }
        path = *value;
        if (!LooksAbsolute(path)) {
            result = kNotAbsolute;
            return;
        }
        auto status = services.files.Status(ToUtf8(path + std::u16string(kDatabaseFile)));
        result = status && !status->isDirectory ? path : std::u16string(kNotConfigured);
    });
    return result;
}

std::u16string GetPraxoPath(Services& services) {
    std::u16string result, path;
    Trap::Reporting(services, [&](int) { return u"GetPraxoPath-strPath=" + path; }).Run([&] {
        auto value = ReadHostValue(services, kPraxoIni, u"System", u"PgmsDir");
        if (!value) {
            ShowUnreadablePraxoIni(services, u"");
            result = kNotConfigured;
            return;
        }
        path = *value;
        result = path;
    });
    return result;
}

std::u16string ReadProgramsFolder(Services& services) {
    return ReadHostValue(services, kPraxoIni, u"System", u"PgmsDir").value_or(u"");
}

bool ShouldWriteToLog(Services& services) {
    auto value = ReadHostValue(services, kEquipIni, u"Equipment", u"WriteReceiveDataLog");
    return value && AsciiUpper(*value) == u"YES";
}

std::int16_t FindEquipmentNumber(Services& services, std::u16string_view key) {
    auto count = ReadHostValue(services, kEquipIni, u"Equipment", u"Number");
    double entries = count ? RoundHalfEven(LeadingNumber(*count)) : 0;
    if (!(entries >= 1)) return 0;
    if (entries > 32767) throw VbError(vb::kOverflow);

    std::size_t keyFields = Split(key, u':').size();
    if (keyFields != 2 && keyFields != 3) return 0;

    for (int i = 1; i <= static_cast<int>(entries); ++i) {
        auto entry = ReadHostValue(services, kEquipIni, u"Equipment", Decimal(i)).value_or(u"");
        auto fields = Split(entry, u':');
        if (fields.size() != keyFields + 2) continue;
        if (Join(fields, 2, keyFields, u':') == key) return TextToInt16(fields[0]);
    }
    return 0;
}

}  // namespace orvanta
