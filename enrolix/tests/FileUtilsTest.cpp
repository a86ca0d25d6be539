#include <gtest/gtest.h>

#include "enrolix/core/Maintenance.h"
#include "enrolix/testing/LocalServerSite.h"

namespace enrolix::test {
namespace {

using platform::fake::MemoryFileSystem;

class FileUtilsTest : public ::testing::Test {
protected:
    LocalServerSite site;
    Tool& tool = site.tool;
    MemoryFileSystem& files = site.files;
};

TEST(GetFolderOfPath, CutsBeforeTheLastBackslashUnlessItIsTheFirstCharacter) {
    EXPECT_EQ(GetFolderOfPath("C:\\x\\y.mdf"), "C:\\x");
    EXPECT_EQ(GetFolderOfPath("C:\\a\\b\\"), "C:\\a\\b");
    EXPECT_EQ(GetFolderOfPath("y.mdf"), "");
    EXPECT_EQ(GetFolderOfPath("\\y.mdf"), "");
    EXPECT_EQ(GetFolderOfPath(""), "");
    EXPECT_EQ(GetFolderOfPath("C:/x/y.mdf"), "");
}

TEST(IsSamePath, SeesSpellingsOfOnePath) {
    EXPECT_TRUE(IsSamePath("C:\\Data\\PATIENT.mdf", "c:\\data\\patient.MDF"));
    EXPECT_TRUE(IsSamePath("C:\\Data\\\\PATIENT.mdf", "C:\\Data\\PATIENT.mdf"));
    EXPECT_TRUE(IsSamePath("C:/Data/PATIENT.mdf", "C:\\Data\\PATIENT.mdf"));
    EXPECT_TRUE(IsSamePath("C:\\Data\\.\\x\\..\\PATIENT.mdf", "C:\\Data\\PATIENT.mdf"));
    EXPECT_FALSE(IsSamePath("C:\\Data\\PATIENT.mdf", "C:\\Data\\PATIENT.mdf.bak"));
    EXPECT_FALSE(IsSamePath("C:\\Data\\PATIENT.mdf", "D:\\Data\\PATIENT.mdf"));
    EXPECT_FALSE(IsSamePath("\\\\srv\\share\\x", "\\srv\\share\\x"));
}

TEST_F(FileUtilsTest, ExistsAsFileOnlyForFiles) {
    files.AddFile("C:\\d\\f.txt", "x");
    EXPECT_TRUE(ExistsAsFile(tool, "C:\\d\\f.txt"));
    EXPECT_TRUE(ExistsAsFile(tool, "c:\\D\\F.TXT"));
    EXPECT_FALSE(ExistsAsFile(tool, "C:\\d"));
    EXPECT_FALSE(ExistsAsFile(tool, "C:\\d\\g.txt"));
    EXPECT_FALSE(ExistsAsFile(tool, ""));
}

TEST_F(FileUtilsTest, ReadOnlyAttributeIsSetAndClearedOnFilesOnly) {
    files.AddFile("C:\\d\\f.ini", "x");
    EXPECT_EQ(MakeFileReadOnly(tool, "C:\\d\\f.ini"), 1);
    EXPECT_TRUE(files.Find("C:\\d\\f.ini")->readOnly);
    EXPECT_EQ(MakeFileReadOnly(tool, "C:\\d\\f.ini"), 1);
    EXPECT_EQ(ClearReadOnly(tool, "C:\\d\\f.ini"), 1);
    EXPECT_FALSE(files.Find("C:\\d\\f.ini")->readOnly);

    EXPECT_EQ(ClearReadOnly(tool, "C:\\d"), 0);
    EXPECT_EQ(MakeFileReadOnly(tool, "C:\\d"), 0);
    EXPECT_EQ(ClearReadOnly(tool, "C:\\d\\missing.ini"), 0);
    EXPECT_EQ(MakeFileReadOnly(tool, "C:\\d\\missing.ini"), 0);
}

TEST_F(FileUtilsTest, HardDeleteFileRemovesFilesAndLeavesFolders) {
    EXPECT_EQ(HardDeleteFile(tool, "C:\\d\\missing.ldf"), 1);

    files.AddFolder("C:\\d\\sub");
    EXPECT_EQ(HardDeleteFile(tool, "C:\\d\\sub"), 1);
    EXPECT_TRUE(files.HasFolder("C:\\d\\sub"));

    files.AddFile("C:\\d\\ro.ldf", "log", true);
    EXPECT_EQ(HardDeleteFile(tool, "C:\\d\\ro.ldf"), 1);
    EXPECT_FALSE(files.HasFile("C:\\d\\ro.ldf"));

    files.AddFile("C:\\d\\held.ldf", "log");
    files.undeletable.insert(MemoryFileSystem::Key("C:\\d\\held.ldf"));
    EXPECT_EQ(HardDeleteFile(tool, "C:\\d\\held.ldf"), 0);
    EXPECT_TRUE(files.HasFile("C:\\d\\held.ldf"));
}

TEST_F(FileUtilsTest, HardCopyFileWithMissingSourceLeavesTheTarget) {
    files.AddFile("C:\\d\\target.mdf", "patients");
    EXPECT_EQ(HardCopyFile(tool, "C:\\d\\source.mdf", "C:\\d\\target.mdf"), 1);
    EXPECT_EQ(files.Content("C:\\d\\target.mdf"), "patients");
    EXPECT_EQ(HardCopyFile(tool, "C:\\d", "C:\\d\\target.mdf"), 1);  // a folder is no source
    EXPECT_EQ(files.Content("C:\\d\\target.mdf"), "patients");
}

TEST_F(FileUtilsTest, HardCopyFileOntoItselfKeepsTheFile) {
    files.AddFile("C:\\d\\PATIENT.mdf", "patients");
    EXPECT_EQ(HardCopyFile(tool, "C:\\d\\PATIENT.mdf", "c:\\D\\patient.MDF"), 0);
    EXPECT_EQ(HardCopyFile(tool, "C:\\d\\\\PATIENT.mdf", "C:\\d\\PATIENT.mdf"), 0);
    EXPECT_EQ(HardCopyFile(tool, "C:/d/PATIENT.mdf", "C:\\d\\PATIENT.mdf"), 0);
    EXPECT_EQ(files.Content("C:\\d\\PATIENT.mdf"), "patients");
}

TEST_F(FileUtilsTest, HardCopyFileReplacesATarget) {
    files.AddFile("C:\\src\\a.mdf", "new");
    files.AddFile("C:\\d\\b.mdf", "old", true);
    EXPECT_EQ(HardCopyFile(tool, "C:\\src\\a.mdf", "C:\\d\\b.mdf"), 0);
    EXPECT_EQ(files.Content("C:\\d\\b.mdf"), "new");

    EXPECT_EQ(HardCopyFile(tool, "C:\\src\\a.mdf", "C:\\d\\fresh.mdf"), 0);
    EXPECT_EQ(files.Content("C:\\d\\fresh.mdf"), "new");
    EXPECT_EQ(files.Content("C:\\src\\a.mdf"), "new");
}

TEST_F(FileUtilsTest, HardCopyFileCarriesTheReadOnlyAttribute) {
    files.AddFile("C:\\src\\ro.mdf", "data", true);
    files.AddFolder("C:\\d");
    ASSERT_EQ(HardCopyFile(tool, "C:\\src\\ro.mdf", "C:\\d\\copy.mdf"), 0);
    EXPECT_TRUE(files.Find("C:\\d\\copy.mdf")->readOnly);
}

TEST_F(FileUtilsTest, HardCopyFileCodesForTargetsThatStay) {
    files.AddFile("C:\\src\\a.mdf", "new");
    files.AddFile("C:\\d\\held.mdf", "old");
    files.undeletable.insert(MemoryFileSystem::Key("C:\\d\\held.mdf"));
    EXPECT_EQ(HardCopyFile(tool, "C:\\src\\a.mdf", "C:\\d\\held.mdf"), 2);
    EXPECT_EQ(files.Content("C:\\d\\held.mdf"), "old");

    // A folder at the target is no file to remove; the copy cannot land there.
    files.AddFolder("C:\\d\\dir.mdf");
    EXPECT_EQ(HardCopyFile(tool, "C:\\src\\a.mdf", "C:\\d\\dir.mdf"), 3);
    EXPECT_TRUE(files.HasFolder("C:\\d\\dir.mdf"));

    files.failingCopies.insert(MemoryFileSystem::Key("C:\\d\\lost.mdf"));
    EXPECT_EQ(HardCopyFile(tool, "C:\\src\\a.mdf", "C:\\d\\lost.mdf"), 3);
    EXPECT_EQ(HardCopyFile(tool, "C:\\src\\a.mdf", "C:\\nofolder\\x.mdf"), 3);
}

}  // namespace
}  // namespace enrolix::test
