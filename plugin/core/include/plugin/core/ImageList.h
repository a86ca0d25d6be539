// The rows of the image file list: one per image file of a patient, read from the file names, kept in the
// order the list shows them.
//
// An image file name is a sequence of fields separated by "_": patient file key, exam number, five fields of
// the device's own export name, eye, date, time (its parts separated by "-"). A name with fewer fields is
// listed all the same, the fields it lacks empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/DateFormat.h"

namespace orvanta {

// PATIENTID without "-", cut to 16 characters: the first field of every image file name of the patient.
std::u16string PatientFileKey(std::u16string_view patientId);
// The wildcard pattern that finds the patient's files (and any other name beginning with key and "_").
std::u16string PatientFilePattern(std::u16string_view folder, std::u16string_view key);
// Whether the name's first field is key, exactly.
bool IsPatientFile(std::u16string_view name, std::u16string_view key);

// Visible columns, numbered from 1 as the list shows them.
enum class ImageColumn { Patient = 1, Exam = 2, Date = 3, Time = 4, Eye = 5 };
inline constexpr int kImageColumnCount = 5;

struct ImageColumnInfo {
    std::u16string_view header;
    int widthChars;  // in average characters of the list's font
};
const ImageColumnInfo& ColumnInfo(ImageColumn column);

struct ImageRow {
    std::u16string exam;
    std::u16string fileName;  // the whole name; the folder is the list's
    // The date, time and eye texts, as indexes into the list's texts: the rows of one patient share them.
    std::uint32_t date = 0, time = 0, eye = 0;
    // What the texts read as, for sorting: the date as automation date, the time in seconds, the exam number.
    std::optional<double> dateValue;
    std::optional<std::int32_t> timeValue;
    std::optional<std::uint64_t> examValue;
};

// A time of day at the start of a text: h:mm or h:mm:ss, then the end, a "." (an extension) or a blank with
// an optional AM or PM. Seconds since midnight; nullopt otherwise.
std::optional<std::int32_t> ReadTimeOfDay(std::u16string_view text);

class ImageList {
public:
    // Empties the list and makes key and folder those of the rows to come; the order becomes newest first.
    void Reset(std::u16string_view key, std::u16string_view folder);
    // Room for count rows, so that the adds to come do not move the rows.
    void Reserve(std::size_t count) { rows_.reserve(count); }
    // Adds a row when the name is the patient's file (first field equal to the key); false otherwise. Each
    // distinct date and time text is read once until the next Reset.
    bool Add(std::u16string name, platform::IDateFormat& dates);
    // Date, then time, both descending: the newest first.
    void SortNewestFirst();
    // A click on the header of column (1 to 5): sorts by it, the date column with the eye as second key
    // (ascending); the order of the first key toggles from click to click. The eye header does nothing.
    // True when the rows were sorted.
    bool HeaderClick(int column);

    std::size_t Count() const { return rows_.size(); }
    const ImageRow& Row(std::size_t index) const { return rows_[index]; }
    const std::u16string& Key() const { return key_; }
    const std::u16string& Folder() const { return folder_; }
    // The text of a visible column (1 to 5) of a row.
    const std::u16string& Cell(std::size_t row, int column) const;
    // Calls visit with every text the column (1 to 5) shows: the key, and each date, time and eye text the
    // rows share, once; the exam of each row.
    template <class Visit>
    void EachDistinctCell(int column, Visit&& visit) const;
    // folder + "\" + file name.
    std::u16string Path(std::size_t row) const;

private:
    struct SortKey {
        int column = 0;  // 0: none
        bool descending = false;
    };
    void Sort(SortKey first, SortKey second);

    // Hashes and compares by content, so that a field of a name is looked up without a copy.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>()(text); }
    };
    struct Read {
        std::uint32_t shown = 0;  // index into texts_
        std::optional<double> value;
    };
    using Cache = std::unordered_map<std::u16string, Read, TextHash, std::equal_to<>>;
    // The entry of field in cache, made with read when the field is new.
    template <class ReadField>
    const Read& Cached(Cache& cache, std::u16string_view field, ReadField&& read);
    std::uint32_t Keep(std::u16string text);

    std::u16string key_, folder_;
    std::vector<ImageRow> rows_;
    bool firstKeyDescending_ = true;
    // The shown date, time and eye texts of the rows, each once; the first is the empty text.
    std::vector<std::u16string> texts_{std::u16string()};
    // Date, time and eye fields already read, by their text in the name.
    Cache dates_, times_, eyes_;
};

template <class Visit>
void ImageList::EachDistinctCell(int column, Visit&& visit) const {
    const Cache* cache = nullptr;
    switch (static_cast<ImageColumn>(column)) {
        case ImageColumn::Patient:
            if (!rows_.empty()) visit(key_);
            return;
        case ImageColumn::Exam:
            for (const ImageRow& row : rows_) visit(row.exam);
            return;
        case ImageColumn::Date:
            cache = &dates_;
            break;
        case ImageColumn::Time:
            cache = &times_;
            break;
        case ImageColumn::Eye:
            cache = &eyes_;
            break;
    }
    if (cache)
        for (const auto& [field, read] : *cache) visit(texts_[read.shown]);
}

}  // namespace orvanta
