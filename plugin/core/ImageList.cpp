#include "ImageList.h"

#include <algorithm>

#include "Text.h"

namespace orvanta {

namespace {

constexpr std::size_t kKeyLength = 16;

constexpr ImageColumnInfo kColumns[kImageColumnCount] = {
    {u"Patient #", 13}, {u"Exam #", 9}, {u"Date", 11}, {u"Time", 10}, {u"Eye", 6},
};

// Field index of a name, empty when the name has fewer fields.
std::u16string Field(const std::vector<std::u16string>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::u16string();
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Up to two digits at text[at]; advances at.
std::optional<int> Digits(std::u16string_view text, std::size_t& at, std::size_t minDigits, std::size_t maxDigits) {
    std::size_t start = at;
    int value = 0;
    while (at < text.size() && at - start < maxDigits && IsDigit(text[at])) value = value * 10 + (text[at++] - u'0');
    if (at - start < minDigits) return std::nullopt;
    return value;
}

std::optional<std::uint64_t> WholeNumber(std::u16string_view text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::uint64_t value = 0;
    for (char16_t c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
    }
    return value;
}

char16_t Folded(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// Texts without regard to case first, then exactly, so that the order is total.
int CompareTexts(std::u16string_view a, std::u16string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        char16_t x = Folded(a[i]), y = Folded(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

// Texts that do not read as what the column holds come first, as texts; the values follow, ordered by value.
// So newest first lists the dated rows at the top.
template <class T>
int CompareValued(const std::optional<T>& x, const std::optional<T>& y, std::u16string_view a, std::u16string_view b) {
    if (x && y) {
        if (*x != *y) return *x < *y ? -1 : 1;
        return 0;
    }
    if (x) return 1;
    if (y) return -1;
    return CompareTexts(a, b);
}

int CompareColumn(const ImageRow& a, const ImageRow& b, int column) {
    switch (static_cast<ImageColumn>(column)) {
        case ImageColumn::Exam:
            return CompareValued(a.examValue, b.examValue, a.exam, b.exam);
        case ImageColumn::Date:
            return CompareValued(a.dateValue, b.dateValue, a.date, b.date);
        case ImageColumn::Time:
            return CompareValued(a.timeValue, b.timeValue, a.time, b.time);
        case ImageColumn::Eye:
            return CompareTexts(a.eye, b.eye);
        case ImageColumn::Patient:
            break;
    }
    return 0;  // every row holds the same key
}

}  // namespace

std::u16string PatientFileKey(std::u16string_view patientId) {
    std::u16string key = ReplaceAll(patientId, u"-", u"");
    if (key.size() > kKeyLength) key.resize(kKeyLength);
    return key;
}

std::u16string PatientFilePattern(std::u16string_view folder, std::u16string_view key) {
    std::u16string pattern(folder);
    pattern += u"\\";
    pattern += key;
    pattern += u"_*.*";
    return pattern;
}

bool IsPatientFile(std::u16string_view name, std::u16string_view key) {
    std::size_t end = name.find(u'_');
    return name.substr(0, end) == key && !name.empty();
}

const ImageColumnInfo& ColumnInfo(ImageColumn column) { return kColumns[static_cast<int>(column) - 1]; }

std::optional<std::int32_t> ReadTimeOfDay(std::u16string_view text) {
    std::size_t at = 0;
    auto hours = Digits(text, at, 1, 2);
    if (!hours || at >= text.size() || text[at] != u':') return std::nullopt;
    ++at;
    auto minutes = Digits(text, at, 2, 2);
    if (!minutes || *minutes > 59) return std::nullopt;
    int seconds = 0;
    if (at < text.size() && text[at] == u':') {
        ++at;
        auto s = Digits(text, at, 2, 2);
        if (!s || *s > 59) return std::nullopt;
        seconds = *s;
    }
    int hour = *hours;
    std::u16string_view rest = text.substr(at);
    if (!rest.empty() && rest[0] == u' ') {
        std::u16string marker = AsciiUpper(TrimBlanks(rest));
        if (marker == u"AM" || marker == u"PM") {
            if (hour < 1 || hour > 12) return std::nullopt;
            hour = hour % 12 + (marker == u"PM" ? 12 : 0);
        } else if (!marker.empty()) {
            return std::nullopt;
        }
    } else if (!rest.empty() && rest[0] != u'.') {
        return std::nullopt;
    }
    if (hour > 23) return std::nullopt;
    return (hour * 60 + *minutes) * 60 + seconds;
}

void ImageList::Reset(std::u16string_view key, std::u16string_view folder) {
    key_ = key;
    folder_ = folder;
    rows_.clear();
    firstKeyDescending_ = true;
}

bool ImageList::Add(std::u16string_view name, platform::IDateFormat& dates) {
    if (!IsPatientFile(name, key_)) return false;
    std::vector<std::u16string> fields = Split(name, u'_');
    ImageRow row;
    row.exam = Field(fields, 1);
    row.examValue = WholeNumber(row.exam);
    std::u16string date = Field(fields, 8);
    auto cached = dateCache_.find(date);
    if (cached == dateCache_.end()) {
        ReadDate read{date, dates.ReadDate(date)};
        if (read.value) read.shown = dates.ShortDate(*read.value);
        cached = dateCache_.emplace(date, std::move(read)).first;
    }
    row.date = cached->second.shown;
    row.dateValue = cached->second.value;
    row.time = ReplaceAll(Field(fields, 9), u"-", u":");
    row.timeValue = ReadTimeOfDay(row.time);
    row.eye = Field(fields, 7);
    row.fileName = name;
    rows_.push_back(std::move(row));
    return true;
}

void ImageList::SortNewestFirst() {
    firstKeyDescending_ = true;
    Sort({static_cast<int>(ImageColumn::Date), true}, {static_cast<int>(ImageColumn::Time), true});
}

bool ImageList::HeaderClick(int column) {
    if (column < static_cast<int>(ImageColumn::Patient) || column >= static_cast<int>(ImageColumn::Eye)) return false;
    firstKeyDescending_ = !firstKeyDescending_;
    SortKey second;
    if (column == static_cast<int>(ImageColumn::Date)) second = {static_cast<int>(ImageColumn::Eye), false};
    Sort({column, firstKeyDescending_}, second);
    return true;
}

void ImageList::Sort(SortKey first, SortKey second) {
    auto compare = [](const ImageRow& a, const ImageRow& b, SortKey key) {
        if (key.column == 0) return 0;
        int order = CompareColumn(a, b, key.column);
        return key.descending ? -order : order;
    };
    std::stable_sort(rows_.begin(), rows_.end(), [&](const ImageRow& a, const ImageRow& b) {
        int order = compare(a, b, first);
        if (order == 0) order = compare(a, b, second);
        return order < 0;
    });
}

const std::u16string& ImageList::Cell(std::size_t row, int column) const {
    const ImageRow& r = rows_[row];
    switch (static_cast<ImageColumn>(column)) {
        case ImageColumn::Exam:
            return r.exam;
        case ImageColumn::Date:
            return r.date;
        case ImageColumn::Time:
            return r.time;
        case ImageColumn::Eye:
            return r.eye;
        case ImageColumn::Patient:
            break;
    }
    return key_;
}

std::u16string ImageList::Path(std::size_t row) const { return folder_ + u"\\" + rows_[row].fileName; }

}  // namespace orvanta
