#include "plugin/core/ImageList.h"

#include <algorithm>
#include <numeric>

#include "plugin/core/Text.h"

namespace orvanta {

namespace {

constexpr std::size_t kKeyLength = 16;

constexpr ImageColumnInfo kColumns[kImageColumnCount] = {
    {u"Patient #", 13}, {u"Exam #", 9}, {u"Date", 11}, {u"Time", 10}, {u"Eye", 6},
};

// The fields of a name that the list shows, by their index among the "_"-separated fields; empty when the
// name has fewer fields.
struct NameFields {
    explicit NameFields(std::u16string_view name) {
        std::size_t index = 0, start = 0;
        for (;;) {
            std::size_t end = name.find(u'_', start);
            std::u16string_view field = name.substr(start, end == name.npos ? name.npos : end - start);
            if (index == 1) exam = field;
            if (index == 7) eye = field;
            if (index == 8) date = field;
            if (index == 9) time = field;
            if (end == name.npos || ++index > 9) break;
            start = end + 1;
        }
    }
    std::u16string_view exam, eye, date, time;
};

// A date field as the runtime reads it, and as the list shows it: in the short date format, or as it is when
// it is no date.
struct DateField {
    DateField(std::u16string_view field, platform::IDateFormat& dates) : value(dates.ReadDate(field)) {
        shown = value ? dates.ShortDate(*value) : std::u16string(field);
    }
    std::optional<double> value;
    std::u16string shown;
};

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

int CompareColumn(const ImageRow& a, const ImageRow& b, int column, const std::vector<std::u16string>& texts) {
    switch (static_cast<ImageColumn>(column)) {
        case ImageColumn::Exam:
            return CompareValued(a.examValue, b.examValue, a.exam, b.exam);
        case ImageColumn::Date:
            return CompareValued(a.dateValue, b.dateValue, texts[a.date], texts[b.date]);
        case ImageColumn::Time:
            return CompareValued(a.timeValue, b.timeValue, texts[a.time], texts[b.time]);
        case ImageColumn::Eye:
            return a.eye == b.eye ? 0 : CompareTexts(texts[a.eye], texts[b.eye]);
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
    texts_.resize(1);
    dates_.clear();
    times_.clear();
    eyes_.clear();
}

std::uint32_t ImageList::Keep(std::u16string text) {
    if (text.empty()) return 0;
    texts_.push_back(std::move(text));
    return static_cast<std::uint32_t>(texts_.size() - 1);
}

template <class ReadField>
const ImageList::Read& ImageList::Cached(Cache& cache, std::u16string_view field, ReadField&& read) {
    auto cached = cache.find(field);
    if (cached == cache.end()) cached = cache.emplace(std::u16string(field), read()).first;
    return cached->second;
}

bool ImageList::Add(std::u16string name, platform::IDateFormat& dates) {
    if (!IsPatientFile(name, key_)) return false;
    NameFields fields(name);
    ImageRow row;
    row.exam = fields.exam;
    row.examValue = WholeNumber(fields.exam);
    const Read& date = Cached(dates_, fields.date, [&] {
        DateField read(fields.date, dates);
        return Read{Keep(std::move(read.shown)), read.value};
    });
    row.date = date.shown;
    row.dateValue = date.value;
    const Read& time = Cached(times_, fields.time, [&] {
        std::u16string shown = ReplaceAll(fields.time, u"-", u":");
        Read read{0, ReadTimeOfDay(shown)};
        read.shown = Keep(std::move(shown));
        return read;
    });
    row.time = time.shown;
    if (time.value) row.timeValue = static_cast<std::int32_t>(*time.value);
    row.eye = Cached(eyes_, fields.eye, [&] { return Read{Keep(std::u16string(fields.eye)), std::nullopt}; }).shown;
    row.fileName = std::move(name);
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
    auto compare = [this](const ImageRow& a, const ImageRow& b, SortKey key) {
        if (key.column == 0) return 0;
        int order = CompareColumn(a, b, key.column, texts_);
        return key.descending ? -order : order;
    };
    // The positions are sorted rather than the rows, which then move once each.
    std::vector<std::uint32_t> order(rows_.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        int result = compare(rows_[a], rows_[b], first);
        if (result == 0) result = compare(rows_[a], rows_[b], second);
        return result < 0;
    });
    std::vector<ImageRow> sorted;
    sorted.reserve(rows_.size());
    for (std::uint32_t at : order) sorted.push_back(std::move(rows_[at]));
    rows_ = std::move(sorted);
}

const std::u16string& ImageList::Cell(std::size_t row, int column) const {
    const ImageRow& r = rows_[row];
    switch (static_cast<ImageColumn>(column)) {
        case ImageColumn::Exam:
            return r.exam;
        case ImageColumn::Date:
            return texts_[r.date];
        case ImageColumn::Time:
            return texts_[r.time];
        case ImageColumn::Eye:
            return texts_[r.eye];
        case ImageColumn::Patient:
            break;
    }
    return key_;
}

std::u16string ImageList::Path(std::size_t row) const { return folder_ + u"\\" + rows_[row].fileName; }

}  // namespace orvanta
