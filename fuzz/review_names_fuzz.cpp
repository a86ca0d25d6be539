// The review's image file names: a name is the patient's when its first field is the patient file key, and
// its row shows the name's exam, eye, date and time fields (the time with ":" for "-"), the date as the date
// reader reads it; times of day read back from their own text; newest first puts the dated rows on top, by
// date and then time, both descending.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "platform/fake/UsDateFormat.h"
#include "plugin/core/ImageList.h"

namespace {

using namespace orvanta;

std::u16string Latin1(const std::string& bytes) {
    std::u16string text;
    for (unsigned char c : bytes) text += static_cast<char16_t>(c);
    return text;
}

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += c < 0x100 ? static_cast<char>(c) : '?';
    return out;
}

// Field index of a "_"-separated name, empty beyond its last.
std::u16string FieldOf(std::u16string_view name, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        start = name.find(u'_', start);
        if (start == name.npos) return {};
        ++start;
    }
    return std::u16string(name.substr(start, name.find(u'_', start) - start));
}

void CheckKey(std::u16string_view patientId, const std::u16string& key) {
    std::u16string undashed;
    for (char16_t c : patientId)
        if (c != u'-') undashed += c;
    fuzz::Check(key == undashed.substr(0, 16), "the key is the identifier without dashes, cut to 16", Narrow(key),
                Narrow(undashed));
}

void CheckTime(std::u16string_view text) {
    const std::optional<std::int32_t> seconds = ReadTimeOfDay(text);
    if (!seconds) return;
    fuzz::Check(*seconds >= 0 && *seconds < 86400, "a time of day lies within the day", Narrow(text));
    const int h = *seconds / 3600, m = *seconds / 60 % 60, s = *seconds % 60;
    std::string own = std::to_string(h) + ":" + (m < 10 ? "0" : "") + std::to_string(m) + ":" + (s < 10 ? "0" : "") +
                      std::to_string(s);
    fuzz::Check(ReadTimeOfDay(Latin1(own)) == seconds, "a time reads back from its own text", own, Narrow(text));
    std::string twelve = std::to_string(h % 12 == 0 ? 12 : h % 12) + ":" + (m < 10 ? "0" : "") + std::to_string(m) +
                         (h < 12 ? " am" : " PM");
    fuzz::Check(ReadTimeOfDay(Latin1(twelve)) == *seconds - s, "a 12-hour time reads back", twelve, Narrow(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> fields = fuzz::Fields(data, size);
    const std::u16string patientId = Latin1(fields[0]);
    const std::u16string key = PatientFileKey(patientId);
    CheckKey(patientId, key);

    platform::fake::UsDateFormat dates;
    ImageList list;
    list.Reset(key, u"C:\\Review");
    std::size_t added = 0;
    for (std::size_t i = 1; i < fields.size(); ++i) {
        // "+" stands for the key and "_", so that most names are the patient's.
        std::u16string name = Latin1(fields[i]);
        if (!name.empty() && name[0] == u'+') name = key + u"_" + name.substr(1);
        const bool patients = !name.empty() && FieldOf(name, 0) == key;
        fuzz::Check(list.Add(name, dates) == patients, "a name is the patient's when its first field is the key",
                    Narrow(name), Narrow(key));
        CheckTime(FieldOf(name, 9));
        if (!patients) continue;
        const std::size_t index = added++;
        const ImageRow& row = list.Row(index);
        const std::u16string& shownDate = list.Cell(index, static_cast<int>(ImageColumn::Date));
        const std::u16string& shownTime = list.Cell(index, static_cast<int>(ImageColumn::Time));
        const std::u16string& shownEye = list.Cell(index, static_cast<int>(ImageColumn::Eye));
        std::u16string time = FieldOf(name, 9);
        for (char16_t& c : time)
            if (c == u'-') c = u':';
        const std::u16string date = FieldOf(name, 8);
        const std::optional<double> read = dates.ReadDate(date);
        fuzz::Check(
            row.fileName == name && row.exam == FieldOf(name, 1) && shownEye == FieldOf(name, 7) && shownTime == time,
            "the row shows the name's fields", Narrow(row.exam + u"|" + shownEye + u"|" + shownTime), Narrow(name));
        fuzz::Check(row.dateValue == read && shownDate == (read ? dates.ShortDate(*read) : date),
                    "the row shows the date as it reads", Narrow(shownDate), Narrow(date));
        fuzz::Check(list.Path(added - 1) == u"C:\\Review\\" + name, "the path is the folder and the name",
                    Narrow(list.Path(added - 1)));
    }
    fuzz::Check(list.Count() == added, "one row per name of the patient");

    list.SortNewestFirst();
    for (std::size_t r = 1; r < list.Count(); ++r) {
        const ImageRow& a = list.Row(r - 1);
        const ImageRow& b = list.Row(r);
        const int dateColumn = static_cast<int>(ImageColumn::Date), timeColumn = static_cast<int>(ImageColumn::Time);
        fuzz::Check(a.dateValue || !b.dateValue, "dated rows come first", Narrow(list.Cell(r - 1, dateColumn)),
                    Narrow(list.Cell(r, dateColumn)));
        if (a.dateValue && b.dateValue) {
            fuzz::Check(*a.dateValue >= *b.dateValue, "newest date first", Narrow(list.Cell(r - 1, dateColumn)),
                        Narrow(list.Cell(r, dateColumn)));
            if (*a.dateValue == *b.dateValue) {
                fuzz::Check(a.timeValue || !b.timeValue, "timed rows come first on a day",
                            Narrow(list.Cell(r - 1, timeColumn)), Narrow(list.Cell(r, timeColumn)));
                if (a.timeValue && b.timeValue)
                    fuzz::Check(*a.timeValue >= *b.timeValue, "latest time first on a day",
                                Narrow(list.Cell(r - 1, timeColumn)), Narrow(list.Cell(r, timeColumn)));
            }
        }
    }
    return 0;
}
