#include "plugin/core/FileSystemObject.h"
#include "plugin/core/Trap.h"
#include "plugin/testing/PluginFixture.h"

namespace orvanta::test {
namespace {

using ::testing::ElementsAre;

class TrapTest : public PluginFixture {};

const std::string kStamp = "02-05-2015  11:48:30 PM";

TEST_F(TrapTest, OperationTrapLogsThenReportsWithTheMarkerOfTheStepUnderWay) {
    Trap trap = Trap::Operation(services, u"CaptureDevice", Trap::kWithMarker);
    bool ran = trap.Run([&] {
        trap.Step(4);
        trap.Step(6);
        throw VbError(vb::kPathNotFound);
    });
    EXPECT_FALSE(ran);
    const std::string text = " CaptureDevice, Err Number: 76 Err Description: Path not found 6";
    EXPECT_THAT(CrLfLines(PluginFile("Orvanta.log")), ElementsAre("", kStamp + text));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "PXE_Orvanta IF Error Num=76  Path not found.\r\n" + text);
    EXPECT_EQ(boxes.shown[0].caption, "PXEquipIF OrvantaIF Error");
    EXPECT_THAT(CrLfLines(PluginFile("PX_IF_Orvanta.err")),
                ElementsAre("", kStamp + " Error in: " + text, "      Error Num=76  Path not found"));
    ASSERT_TRUE(trap.Error());
    EXPECT_EQ(trap.Error()->Number(), 76);
}

TEST_F(TrapTest, NothingHappensWithoutAnError) {
    Trap trap = Trap::Operation(services, u"DoDeviceFunction");
    EXPECT_TRUE(trap.Run([] {}));
    EXPECT_FALSE(trap.Error());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(HasPluginFile("Orvanta.log"));
}

TEST_F(TrapTest, ReportingTrapComposesItsContextFromTheMarkerAndWritesNoLog) {
    Trap trap =
        Trap::Reporting(services, [](int marker) { return u"LoadGridWithFiles4PatID=" + U(std::to_string(marker)); });
    trap.Run([&] {
        trap.Step(37);
        throw VbError(vb::kSubscriptOutOfRange);
    });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "PXE_Orvanta IF Error Num=9  Subscript out of range.\r\nLoadGridWithFiles4PatID=37");
    EXPECT_FALSE(HasPluginFile("Orvanta.log"));
    EXPECT_THAT(
        CrLfLines(PluginFile("PX_IF_Orvanta.err")),
        ElementsAre("", kStamp + " Error in: LoadGridWithFiles4PatID=37", "      Error Num=9  Subscript out of range"));
}

TEST_F(TrapTest, LogOnlyTrapShowsNothing) {
    Trap::Operation(services, u"LibraryStart", false, Trap::Action::Log).Run([] {
        throw VbError(vb::kCannotCreateObject);
    });
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_THAT(
        CrLfLines(PluginFile("Orvanta.log")),
        ElementsAre("",
                    kStamp + " LibraryStart, Err Number: 429 Err Description: ActiveX component can't create object"));
}

TEST_F(TrapTest, UnwritableFilesStillShowTheBoxAndNothingEscapes) {
    files.writesFail = true;
    Trap trap = Trap::Operation(services, u"DoDeviceFunction");
    EXPECT_FALSE(trap.Run([] { throw std::bad_alloc(); }));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "PXE_Orvanta IF Error Num=7  Out of memory.\r\n DoDeviceFunction, Err Number: 7 Err Description: Out of "
              "memory");
    EXPECT_FALSE(trap.Run([] { throw 1; }));
    EXPECT_EQ(trap.Error()->Number(), vb::kInternalError);
}

class FileSystemObjectTest : public PluginFixture {
protected:
    FileSystemObject fso{services};
};

TEST_F(FileSystemObjectTest, WindowsErrorsMapToTheObjectsNumbers) {
    EXPECT_EQ(FileError(2).Number(), 53);
    EXPECT_EQ(FileError(3).Number(), 76);
    EXPECT_EQ(FileError(3).Description(), u"Path not found");
    EXPECT_EQ(FileError(5).Number(), 70);
    EXPECT_EQ(FileError(32).Number(), 70);
    EXPECT_EQ(FileError(5).Description(), u"Permission denied");
    EXPECT_EQ(FileError(80).Number(), 58);
    EXPECT_EQ(FileError(183).Number(), 58);
    EXPECT_EQ(FileError(112).Number(), 61);
    EXPECT_EQ(FileError(112).Description(), u"Disk full");
    EXPECT_EQ(FileError(123).Number(), 52);
    EXPECT_EQ(FileError(1117).Number(), 75);
}

TEST_F(FileSystemObjectTest, FoldersAreCreatedOneLevelAtATime) {
    EXPECT_FALSE(fso.FolderExists(u""));
    EXPECT_EQ(ErrorNumberOf([&] { fso.CreateFolder(u"C:\\Images\\Data"); }), 76);
    EXPECT_EQ(ErrorNumberOf([&] { fso.CreateFolder(u""); }), 76);
    fso.CreateFolder(u"C:\\Images");
    EXPECT_TRUE(fso.FolderExists(u"C:\\images"));
    EXPECT_EQ(ErrorNumberOf([&] { fso.CreateFolder(u"C:\\Images"); }), 58);
    fso.CreateFolder(u"C:\\Images\\Data");
    EXPECT_TRUE(fso.FolderExists(u"C:\\Images\\Data"));
    EXPECT_FALSE(fso.FileExists(u"C:\\Images\\Data"));
}

TEST_F(FileSystemObjectTest, CopyAndDeleteRaiseTheObjectsErrors) {
    files.AddFile("C:\\Images\\a.jpg", "image");
    files.AddFolder("C:\\Review");
    EXPECT_EQ(ErrorNumberOf([&] { fso.CopyOneFile(u"C:\\Images\\missing.jpg", u"C:\\Review\\x.jpg", true); }), 53);
    EXPECT_EQ(ErrorNumberOf([&] { fso.CopyOneFile(u"C:\\Images\\a.jpg", u"C:\\Nowhere\\x.jpg", true); }), 76);
    fso.CopyOneFile(u"C:\\Images\\a.jpg", u"C:\\Review\\x.jpg", true);
    EXPECT_EQ(files.Content("C:\\Review\\x.jpg"), "image");
    EXPECT_EQ(ErrorNumberOf([&] { fso.CopyOneFile(u"C:\\Images\\a.jpg", u"C:\\Review\\x.jpg", false); }), 58);
    EXPECT_EQ(fso.FileSize(u"C:\\Review\\x.jpg"), 5u);

    EXPECT_EQ(ErrorNumberOf([&] { fso.DeleteOneFile(u"C:\\Images\\missing.jpg"); }), 53);
    files.AddFile("C:\\Images\\ro.jpg", "r", true);
    EXPECT_EQ(ErrorNumberOf([&] { fso.DeleteOneFile(u"C:\\Images\\ro.jpg"); }), 70);  // not forced
    files.undeletable.insert(platform::fake::MemoryFileSystem::Key("C:\\Images\\a.jpg"));
    EXPECT_EQ(ErrorNumberOf([&] { fso.DeleteOneFile(u"C:\\Images\\a.jpg"); }), 70);  // held open elsewhere
    files.undeletable.clear();
    fso.DeleteOneFile(u"C:\\Images\\a.jpg");
    EXPECT_FALSE(files.HasFile("C:\\Images\\a.jpg"));
}

TEST_F(FileSystemObjectTest, FileNamesListsFilesOnlyInTheFileSystemsOrder) {
    files.AddFile("C:\\Images\\z_first.jpg", "");
    files.AddFolder("C:\\Images\\Data");
    files.AddFile("C:\\Images\\Data\\inner.jpg", "");
    files.AddFile("C:\\Images\\A_second.JPG", "");
    files.AddFile("C:\\Images\\noext", "");
    EXPECT_EQ(fso.FileNames(u"C:\\Images"), (std::vector<std::u16string>{u"z_first.jpg", u"A_second.JPG", u"noext"}));
    EXPECT_EQ(fso.FileNames(u"C:\\Images\\"), fso.FileNames(u"C:\\Images"));
    EXPECT_EQ(ErrorNumberOf([&] { fso.FileNames(u"C:\\Missing"); }), 76);
    files.failingLists.insert(platform::fake::MemoryFileSystem::Key("C:\\Images"));
    EXPECT_EQ(ErrorNumberOf([&] { fso.FileNames(u"C:\\Images"); }), 70);
}

TEST_F(FileSystemObjectTest, EntriesMatchWildcardsWithoutRegardToCase) {
    files.AddFile("C:\\Review\\ABC_1_x.jpg", "12");
    files.AddFile("C:\\Review\\abc_2", "");
    files.AddFile("C:\\Review\\abd_3.jpg", "");
    files.AddFolder("C:\\Review\\ABC_sub");
    files.FindMutable("C:\\Review\\abc_2")->hidden = true;
    auto entries = fso.Entries(u"C:\\Review\\ABC_*.*");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "ABC_1_x.jpg");
    EXPECT_EQ(entries[0].size, 2u);
    EXPECT_TRUE(entries[1].hidden);
    EXPECT_TRUE(entries[2].isDirectory);
    EXPECT_TRUE(fso.Entries(u"C:\\Review\\xyz_*.*").empty());
    EXPECT_EQ(ErrorNumberOf([&] { fso.Entries(u"C:\\Nowhere\\*"); }), 76);
}

TEST_F(FileSystemObjectTest, WorkingFolderMustExist) {
    files.AddFolder("C:\\SCANSUITE\\bin");
    fso.SetWorkingFolder(u"C:\\SCANSUITE\\bin\\");
    EXPECT_EQ(files.currentDirectory, "C:\\SCANSUITE\\bin");  // as the system keeps it
    EXPECT_EQ(ErrorNumberOf([&] { fso.SetWorkingFolder(u"C:\\Nowhere"); }), 76);
}

}  // namespace
}  // namespace orvanta::test
