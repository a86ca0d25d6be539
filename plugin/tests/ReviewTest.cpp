#include <set>
#include <string>
#include <vector>

#include "plugin/core/FileLauncher.h"
#include "plugin/core/ImageFilesForm.h"
#include "plugin/core/OrvantaObject.h"
#include "plugin/testing/PluginFixture.h"

namespace orvanta::test {
namespace {

using ::testing::ElementsAre;

constexpr std::string_view kReview = "C:\\Review";
const std::string kD = "a_b_c_d_e";

class Review : public PluginFixture {
protected:
    Review() {
        Praxo("[System]\nDataDir=C:\\Praxo\\Data\nPgmsDir=C:\\Praxo\\Pgms\n");
        Equip(
            "[Equipment]\nNumber=2\n1=7:x:Orvanta:Capture Sorvane\n2=8:y:Orvanta:Review Sorvane\n"
            "[8]\nEquipDataPath=C:\\Review\n[7]\nEquipDataPath=  C:\\Acquire  \n");
        files.AddFolder("C:\\Praxo\\Data");
        files.AddFolder(std::string(kReview));
        object.Initialise();
        object.PATIENTID = u"AB-1234-XY";
    }
    void Image(const std::string& name) { files.AddFile(std::string(kReview) + "\\" + name, "image"); }
    std::string Name(std::string_view exam, std::string_view eye, std::string_view date, std::string_view time) {
        return "AB1234XY_" + std::string(exam) + "_" + kD + "_" + std::string(eye) + "_" + std::string(date) + "_" +
               std::string(time) + ".jpg";
    }

    RecordingImageFilesWindow& window = imageFilesWindow;
    OrvantaObject object{services};
};

TEST_F(Review, ListsThePatientsFilesNewestFirst) {
    Image(Name("77", "OD", "2012-05-21", "10-22-33"));
    Image(Name("78", "OS", "2012-12-01", "09-15-00"));
    Image("ab1234xy_79_" + kD + "_OD_2013-01-01_10-00-00.jpg");
    files.AddFolder("C:\\Review\\AB1234XY_80_" + kD + "_OU_2011-01-01_07-00-00");
    Image("AB1234XY_81.jpg");
    object.DeviceName = u"Review Sorvane";
    EXPECT_EQ(u"Was OK", object.DoDeviceFunction());
    EXPECT_EQ(1, window.shown);
    EXPECT_THAT(window.exams, ElementsAre(u"78", u"77", u"80", u"81.jpg"));
    EXPECT_EQ(u"Double-click a row to display the selected image.", window.instructions);
    EXPECT_EQ(u"Click on a column header to sort by that column.", window.sortInstructions);
    EXPECT_EQ(u"C:\\Review", object.EquipDataPath);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Review, WithoutFilesTheWindowShowsTheHeaderRowOnly) {
    object.DeviceName = u"Review Sorvane";
    EXPECT_EQ(u"Was OK", object.ReviewDevice());
    EXPECT_EQ(1, window.shown);
    EXPECT_TRUE(window.exams.empty());
    EXPECT_EQ(u"Double-click a row to display the selected image.", window.instructions);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Review, AListingThatBreaksOffListsNothingAndARaiseIsReportedBeforeTheWindow) {
    Image(Name("77", "OD", "2012-05-21", "10-22-33"));
    Image(Name("78", "OS", "2012-12-01", "09-15-00"));
    const std::string review = platform::fake::MemoryFileSystem::Key(std::string(kReview));
    struct Case {
        const char* name;
        std::set<std::string>& lists;
        std::size_t boxes;
    };
    for (const Case& c : {Case{"fails", files.breakingLists, 0}, Case{"raises", files.raisingLists, 1}}) {
        SCOPED_TRACE(c.name);
        c.lists.insert(review);
        boxes.shown.clear();
        std::size_t boxesWhileShown = 99;
        window.whileShown = [&](ImageFilesForm&) { boxesWhileShown = boxes.shown.size(); };
        object.DeviceName = u"Review Sorvane";
        EXPECT_EQ(u"Was OK", object.ReviewDevice());
        EXPECT_TRUE(window.exams.empty());
        EXPECT_EQ(c.boxes, boxesWhileShown);
        c.lists.clear();
        window.whileShown = nullptr;
    }
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ("PXE_Orvanta IF Error Num=7  Out of memory.\r\nLoadGridWithFiles4PatID=11", boxes.shown[0].text);
    object.ReviewDevice();  // the listing whole again
    EXPECT_THAT(window.exams, ElementsAre(u"78", u"77"));
}

TEST_F(Review, FolderPreference) {
    for (std::string folder : {"C:\\Review", "C:\\Praxo\\Pgms", "C:\\Acquire\\Data", "D:\\Host"})
        files.AddFile(folder + "\\" + Name("1", "OD", "2012-05-21", "10-00-00"), "image");
    // The review entry's folder.
    object.DeviceName = u"Review Sorvane";
    object.ReviewDevice();
    EXPECT_EQ(u"C:\\Review", window.folder);
    // Without it: the host programs folder.
    Equip("[Equipment]\nNumber=1\n1=7:x:Orvanta:Capture Sorvane\n[7]\nEquipDataPath=  C:\\Acquire  \n");
    object.ReviewDevice();
    EXPECT_EQ(u"C:\\Praxo\\Pgms", window.folder);
    // Without both: the capture entry's folder, trimmed, and "\Data".
    Praxo("[System]\nDataDir=C:\\Praxo\\Data\n");
    object.ReviewDevice();
    EXPECT_EQ(u"C:\\Acquire\\Data", window.folder);
    // A name outside the catalogue keeps the folder the host set.
    object.DeviceName = u"Review Other";
    object.EquipDataPath = u"D:\\Host";
    object.ReviewDevice();
    EXPECT_EQ(u"D:\\Host", window.folder);
}

TEST_F(Review, CountsThePatientsEntriesAndLeavesTheSummary) {
    Image(Name("77", "OD", "2012-05-21", "10-22-33"));
    Image("AB1234XY_short.jpg");
    Image("ab1234xy_79_" + kD + "_OD_2013-01-01_10-00-00.jpg");
    Image("AB1234XYZ_1.jpg");
    files.AddFolder("C:\\Review\\AB1234XY_80");
    Image("AB1234XY_hidden.jpg");
    files.FindMutable("C:\\Review\\AB1234XY_hidden.jpg")->hidden = true;
    Image("AB1234XY_system.jpg");
    files.FindMutable("C:\\Review\\AB1234XY_system.jpg")->system = true;
    Image("AB1234XY_\xC5\x81ukasz.jpg");  // outside the code page
    object.DeviceName = u"Capture Sorvane";
    EXPECT_EQ(4, object.NumPatientImageFiles());
    EXPECT_EQ(u"C:\\Review", object.EquipDataPath);
    EXPECT_EQ(u"Last Session: 2/5/2015 11:48:30 PM  Images=4", object.LogoToolTip);
}

TEST_F(Review, CountIsZeroWithoutAFolder) {
    Equip("[Equipment]\nNumber=0\n");
    object.DeviceName = u"Review Sorvane";
    object.EquipDataPath = u"C:\\Nowhere";
    EXPECT_EQ(0, object.NumPatientImageFiles());
    EXPECT_EQ(u"C:\\Nowhere", object.EquipDataPath);
    EXPECT_EQ(u"Last Session: 2/5/2015 11:48:30 PM  Images=0", object.LogoToolTip);
}

TEST_F(Review, TheKeyIsCutToSixteenCharacters) {
    object.PATIENTID = u"1234-5678-9012-3456-99";
    Image("1234567890123456_1_" + kD + "_OD_2012-05-21_10-00-00.jpg");
    object.DeviceName = u"Review Sorvane";
    EXPECT_EQ(1, object.NumPatientImageFiles());
}

TEST_F(Review, DoubleClickOpensTheFileOrSaysWhyNot) {
    const std::string zoe = "AB1234XY_77_Zo\xC3\xAB_b_c_d_e_OD_2012-05-21_10-22-33.jpg";  // outside the code page
    Image(zoe);
    Image("AB1234XY_78_" + kD + "_OS_2012-05-20_10-00-00.xyz");
    int owner = 0;
    window.whileShown = [&](ImageFilesForm& form) {
        form.RowDoubleClick(0, &owner);
        shell.result = 31;
        form.RowDoubleClick(1, &owner);
        EXPECT_EQ(1u, form.activeRow);
    };
    object.DeviceName = u"Review Sorvane";
    object.ReviewDevice();
    ASSERT_EQ(2u, shell.calls.size());
    EXPECT_EQ(&owner, shell.calls[0].owner);
    EXPECT_EQ("open", shell.calls[0].verb);
    EXPECT_EQ(u"C:\\Review\\AB1234XY_77_Zo\u00EB_b_c_d_e_OD_2012-05-21_10-22-33.jpg", shell.calls[0].wideFile);
    EXPECT_EQ("", shell.calls[0].parameters);
    EXPECT_EQ("", shell.calls[0].directory);
    EXPECT_EQ(1, shell.calls[0].showCommand);  // shown normally
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ("There is no file association for the xyz file type.", boxes.shown[0].text);
    EXPECT_EQ("Orvanta Interface", boxes.shown[0].caption);
    EXPECT_EQ(platform::MsgIcon::Critical, boxes.shown[0].style.icon);
}

TEST(LaunchResult, TextsOfTheShellsAnswers) {
    EXPECT_EQ(u"Was OK", LaunchResultText(33, u"C:\\a.jpg"));
    EXPECT_EQ(u"There is no file association for the xyz file type.", LaunchResultText(31, u"C:\\a.xyz"));
    EXPECT_EQ(u"There is no file association for the d\\file file type.", LaunchResultText(31, u"C:\\a.d\\file"));
    EXPECT_EQ(u"There is no file association for the C:\\file file type.", LaunchResultText(31, u"C:\\file"));
    for (std::intptr_t code : {0, 2, 30, 32})
        EXPECT_EQ(u"There was a problem executing the default image viewer.\r\n Check that it is properly installed.",
                  LaunchResultText(code, u"C:\\a.jpg"));
}

}  // namespace
}  // namespace orvanta::test
