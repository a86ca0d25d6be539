#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/fake/UsDateFormat.h"
#include "plugin/core/ImageList.h"
#include "plugin/testing/PluginFixture.h"

namespace orvanta::test {
namespace {

using ::testing::ElementsAre;

constexpr int kPatient = 1, kExam = 2, kDate = 3, kTime = 4, kEye = 5;

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

class ImageListTest : public ::testing::Test {
protected:
    ImageListTest() { list.Reset(u"AB1234XY", u"C:\\Review"); }

    void Add(std::initializer_list<std::string_view> names) {
        for (auto name : names) list.Add(U(name), dates);
    }
    // One column of every row, top to bottom.
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> cells;
        for (std::size_t i = 0; i < list.Count(); ++i) cells.push_back(Narrow(list.Cell(i, column)));
        return cells;
    }
    std::string Image(std::string_view exam, std::string_view eye, std::string_view date, std::string_view time) {
        return "AB1234XY_" + std::string(exam) + "_a_b_c_d_e_" + std::string(eye) + "_" + std::string(date) + "_" +
               std::string(time) + ".jpg";
    }

    platform::fake::UsDateFormat dates;
    ImageList list;
};

TEST(ImageFileKeyTest, DropsDashesAndCutsToSixteen) {
    EXPECT_EQ(u"AB1234XY", PatientFileKey(u"AB-1234-XY"));
    EXPECT_EQ(u"1234567890123456", PatientFileKey(u"1234-5678-9012-3456-78"));
    EXPECT_EQ(u"", PatientFileKey(u"--"));
    EXPECT_EQ(u"C:\\Review\\AB1234XY_*.*", PatientFilePattern(u"C:\\Review", u"AB1234XY"));
}

TEST(ImageFileKeyTest, FirstFieldMustEqualTheKeyExactly) {
    EXPECT_TRUE(IsPatientFile(u"AB1234XY_77_a.jpg", u"AB1234XY"));
    EXPECT_TRUE(IsPatientFile(u"AB1234XY_", u"AB1234XY"));
    EXPECT_FALSE(IsPatientFile(u"ab1234xy_77_a.jpg", u"AB1234XY"));
    EXPECT_FALSE(IsPatientFile(u"AB1234XYZ_77.jpg", u"AB1234XY"));
    EXPECT_FALSE(IsPatientFile(u"AB1234XY.jpg", u"AB1234XY"));
}

TEST(TimeOfDayTest, ReadsTheLeadingTime) {
    EXPECT_EQ(10 * 3600 + 22 * 60 + 33, ReadTimeOfDay(u"10:22:33.jpg"));
    EXPECT_EQ(9 * 3600 + 5 * 60, ReadTimeOfDay(u"9:05"));
    EXPECT_EQ(22 * 3600, ReadTimeOfDay(u"10:00:00 PM"));
    EXPECT_EQ(0, ReadTimeOfDay(u"12:00 am"));
    EXPECT_EQ(std::nullopt, ReadTimeOfDay(u"24:00"));
    EXPECT_EQ(std::nullopt, ReadTimeOfDay(u"10:60"));
    EXPECT_EQ(std::nullopt, ReadTimeOfDay(u"102233.jpg"));
    EXPECT_EQ(std::nullopt, ReadTimeOfDay(u"10:22x"));
    EXPECT_EQ(std::nullopt, ReadTimeOfDay(u""));
}

TEST_F(ImageListTest, ReadsTheFieldsOfAName) {
    Add({"AB1234XY_77_a_b_c_d_e_OD_2012-05-21_10-22-33.jpg"});
    ASSERT_EQ(1u, list.Count());
    EXPECT_EQ(u"AB1234XY", list.Cell(0, kPatient));
    EXPECT_EQ(u"77", list.Cell(0, kExam));
    EXPECT_EQ(u"5/21/2012", list.Cell(0, kDate));
    EXPECT_EQ(u"10:22:33.jpg", list.Cell(0, kTime));
    EXPECT_EQ(u"OD", list.Cell(0, kEye));
    EXPECT_EQ(u"C:\\Review\\AB1234XY_77_a_b_c_d_e_OD_2012-05-21_10-22-33.jpg", list.Path(0));
}

TEST_F(ImageListTest, OtherNamesAreNotListed) {
    EXPECT_FALSE(list.Add(u"ab1234xy_77_a_b_c_d_e_OD_2012-05-21_10-22-33.jpg", dates));
    EXPECT_FALSE(list.Add(u"AB1234XY-77.jpg", dates));
    EXPECT_EQ(0u, list.Count());
}

TEST_F(ImageListTest, ADateThatDoesNotReadAsADateIsShownUnchanged) {
    Add({Image("1", "OD", "20120521", "10-00-00"), Image("2", "OS", "2012-02-30", "10-00-00")});
    EXPECT_THAT(Column(kDate), ElementsAre("20120521", "2012-02-30"));
}

TEST_F(ImageListTest, LongNamesKeepTheirWholePath) {
    std::string sixty = "AB1234XY_1_a_b_c_d_e_OD_2012-05-21_10-22-33";
    sixty += std::string(60 - sixty.size() - 4, 'x') + ".jpg";
    ASSERT_EQ(60u, sixty.size());
    std::string sixtyOne = sixty.substr(0, 56) + "y.jpg";
    Add({sixty, sixtyOne});
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < list.Count(); ++i) paths.push_back(Narrow(list.Path(i)));
    EXPECT_THAT(paths, ::testing::UnorderedElementsAre("C:\\Review\\" + sixty, "C:\\Review\\" + sixtyOne));
}

TEST_F(ImageListTest, ShortNamesAreListedWithTheirMissingFieldsEmpty) {
    Add({"AB1234XY_5.jpg", Image("7", "OD", "2012-05-21", "10-22-33"), "AB1234XY_6_a_b_c_d_e_OS_2013-01-02"});
    list.SortNewestFirst();
    ASSERT_EQ(3u, list.Count());
    EXPECT_THAT(Column(kExam), ElementsAre("6", "7", "5.jpg"));
    EXPECT_THAT(Column(kDate), ElementsAre("1/2/2013", "5/21/2012", ""));
    EXPECT_THAT(Column(kTime), ElementsAre("", "10:22:33.jpg", ""));
    EXPECT_THAT(Column(kEye), ElementsAre("OS", "OD", ""));
}

TEST_F(ImageListTest, NewestFirstComparesDatesAsDatesAndTimesAsTimes) {
    Add({Image("1", "OD", "5-21-2012", "9-00-00"), Image("2", "OD", "12-1-2012", "8-00-00"),
         Image("3", "OD", "5-21-2012", "10-00-00"), Image("4", "OD", "not a date", "10-00-00"),
         Image("5", "OD", "2011-12-31", "23-59-59"), Image("6", "OD", "20120521", "10-00-00")});
    list.SortNewestFirst();
    // December after May; texts that are no dates at the bottom.
    EXPECT_THAT(Column(kExam), ElementsAre("2", "3", "1", "5", "4", "6"));
    EXPECT_THAT(Column(kTime), ElementsAre("8:00:00.jpg", "10:00:00.jpg", "9:00:00.jpg", "23:59:59.jpg", "10:00:00.jpg",
                                           "10:00:00.jpg"));
}

TEST_F(ImageListTest, HeaderClicksToggleTheOrderWhicheverHeaderIsClicked) {
    Add({Image("9", "OS", "2012-05-21", "10-00-00"), Image("10", "OD", "2012-05-21", "11-00-00"),
         Image("8", "OU", "2013-01-01", "09-00-00"), Image("11", "OD", "2012-05-21", "09-00-00")});
    list.SortNewestFirst();
    EXPECT_THAT(Column(kExam), ElementsAre("8", "10", "9", "11"));

    // Date ascending, then eye ascending.
    EXPECT_TRUE(list.HeaderClick(kDate));
    EXPECT_THAT(Column(kExam), ElementsAre("10", "11", "9", "8"));
    EXPECT_THAT(Column(kEye), ElementsAre("OD", "OD", "OS", "OU"));

    // Exam descending, by number.
    EXPECT_TRUE(list.HeaderClick(kExam));
    EXPECT_THAT(Column(kExam), ElementsAre("11", "10", "9", "8"));

    // Time ascending, no second key: equal times keep their order.
    EXPECT_TRUE(list.HeaderClick(kTime));
    EXPECT_THAT(Column(kTime), ElementsAre("09:00:00.jpg", "09:00:00.jpg", "10:00:00.jpg", "11:00:00.jpg"));
    EXPECT_THAT(Column(kExam), ElementsAre("11", "8", "9", "10"));

    // Eye does nothing, nor does the order toggle.
    EXPECT_FALSE(list.HeaderClick(kEye));
    EXPECT_FALSE(list.HeaderClick(0));
    EXPECT_THAT(Column(kExam), ElementsAre("11", "8", "9", "10"));
    EXPECT_TRUE(list.HeaderClick(kPatient));
    EXPECT_THAT(Column(kExam), ElementsAre("11", "8", "9", "10"));  // all equal: stable
    EXPECT_TRUE(list.HeaderClick(kExam));
    EXPECT_THAT(Column(kExam), ElementsAre("8", "9", "10", "11"));
}

TEST_F(ImageListTest, ResetEmptiesAndRestoresTheOrder) {
    Add({Image("1", "OD", "2012-05-21", "10-00-00")});
    list.HeaderClick(kDate);
    list.Reset(u"OTHER", u"D:\\x");
    EXPECT_EQ(0u, list.Count());
    list.Add(u"OTHER_2_a_b_c_d_e_OS_2012-05-21_10-00-00", dates);
    list.Add(u"OTHER_3_a_b_c_d_e_OS_2012-05-21_10-00-00", dates);
    list.SortNewestFirst();
    list.HeaderClick(kExam);
    EXPECT_THAT(Column(kExam), ElementsAre("2", "3"));  // ascending after a fresh load
    EXPECT_EQ(u"D:\\x\\OTHER_2_a_b_c_d_e_OS_2012-05-21_10-00-00", list.Path(0));
}

// Counts the runtime's readings of dates.
class CountingDates : public platform::fake::UsDateFormat {
public:
    std::optional<double> ReadDate(std::u16string_view text) override {
        ++reads;
        return UsDateFormat::ReadDate(text);
    }
    int reads = 0;
};

TEST_F(ImageListTest, EachDistinctDateIsReadOncePerFill) {
    CountingDates counting;
    for (const char* exam : {"1", "2", "3"}) list.Add(U(Image(exam, "OD", "2012-05-21", "10-00-00")), counting);
    list.Add(U(Image("4", "OS", "2013-01-02", "10-00-00")), counting);
    list.Add(U(Image("5", "OS", "not a date", "10-00-00")), counting);
    list.Add(U(Image("6", "OS", "not a date", "10-00-00")), counting);
    EXPECT_EQ(3, counting.reads);
    EXPECT_THAT(Column(kDate),
                ElementsAre("5/21/2012", "5/21/2012", "5/21/2012", "1/2/2013", "not a date", "not a date"));
    EXPECT_THAT(Column(kEye), ElementsAre("OD", "OD", "OD", "OS", "OS", "OS"));
    // The texts each column shows, those the rows share once: what the window measures.
    const int visitsOf[] = {0, 1, 6, 3, 1, 2};
    for (int column = kPatient; column <= kEye; ++column) {
        std::vector<std::string> cells = Column(column), visited;
        list.EachDistinctCell(column,
                              [&](std::u16string_view text) { visited.push_back(Narrow(std::u16string(text))); });
        EXPECT_EQ(visitsOf[column], static_cast<int>(visited.size())) << column;
        EXPECT_EQ(std::set<std::string>(cells.begin(), cells.end()),
                  std::set<std::string>(visited.begin(), visited.end()))
            << column;
    }
    // A new fill reads afresh: the regional settings may have changed in between.
    list.Reset(u"AB1234XY", u"C:\\Review");
    list.Add(U(Image("1", "OD", "2012-05-21", "10-00-00")), counting);
    EXPECT_EQ(4, counting.reads);
}

TEST(UsDateFormatTest, ReadsAsTheRuntimeDoes) {
    platform::fake::UsDateFormat dates;
    auto may21 = dates.ReadDate(u"2012-05-21");
    ASSERT_TRUE(may21);
    EXPECT_EQ(41050.0, *may21);
    for (auto text : {u"05/21/2012", u"5/21/12", u"21/05/2012", u"2012/05/21", u"21-05-2012"})
        EXPECT_EQ(may21, dates.ReadDate(text)) << Narrow(std::u16string(text));
    for (auto text : {u"20120521", u"21.05.2012", u"2012-05-21T10:22:33", u"2012-02-30", u"10-22-33.jpg", u""})
        EXPECT_EQ(std::nullopt, dates.ReadDate(text)) << Narrow(std::u16string(text));
    EXPECT_EQ(u"5/21/2012", dates.ShortDate(*may21));
    EXPECT_EQ(u"2/5/2015 11:48:30 PM", dates.GeneralDate(platform::fake::FixedClock::MakeTm(2015, 2, 5, 23, 48, 30)));
}

}  // namespace
}  // namespace orvanta::test
