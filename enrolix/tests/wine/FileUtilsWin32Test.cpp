// File utilities and the log writer of the tool on real files, through the Win32 adapters.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "enrolix/core/Log.h"
#include "enrolix/core/Maintenance.h"
#include "enrolix/win32/AnsiText.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/testing/ScratchFolder.h"

namespace enrolix {
namespace {

using platform::win32::UniqueFile;

class NoDatabase : public platform::IDbDriver {
public:
    std::unique_ptr<platform::IDbConnection> NewConnection() override { return nullptr; }
};

// Real files in a scratch folder, and a tool over the Win32 adapters.
class RealFiles : public platform::win32::testing::ScratchFolder {
protected:
    platform::win32::Win32Profile profile_;
    platform::win32::Win32FileSystem files_;
    platform::win32::Win32MessageBox boxes_;
    platform::win32::Win32Clock clock_;
    platform::win32::Win32System system_;
    NoDatabase db_;
    Tool tool_{profile_, files_, boxes_, clock_, system_, db_};
};

TEST_F(RealFiles, FolderOfPathAndExistsAsFile) {
    EXPECT_EQ(GetFolderOfPath(Path("PATIENT.mdf")), dir_);
    EXPECT_EQ(GetFolderOfPath("\\PATIENT.mdf"), "");
    Write(Path("a.mdf"), "data");
    CreateDirectoryA(Path("folder.mdf").c_str(), nullptr);
    EXPECT_TRUE(ExistsAsFile(tool_, Path("a.mdf")));
    EXPECT_TRUE(ExistsAsFile(tool_, Path("A.MDF")));
    EXPECT_FALSE(ExistsAsFile(tool_, Path("folder.mdf")));
    EXPECT_FALSE(ExistsAsFile(tool_, Path("missing.mdf")));
}

TEST_F(RealFiles, ReadOnlyAttributeOnFilesOnly) {
    Write(Path("SqlInstall.ini"), "[Options]\r\n");
    EXPECT_EQ(MakeFileReadOnly(tool_, Path("SqlInstall.ini")), 1);
    EXPECT_TRUE(IsReadOnly(Path("SqlInstall.ini")));
    EXPECT_EQ(ClearReadOnly(tool_, Path("SqlInstall.ini")), 1);
    EXPECT_FALSE(IsReadOnly(Path("SqlInstall.ini")));
    CreateDirectoryA(Path("folder").c_str(), nullptr);
    EXPECT_EQ(MakeFileReadOnly(tool_, Path("folder")), 0);
    EXPECT_EQ(ClearReadOnly(tool_, Path("folder")), 0);
    EXPECT_EQ(ClearReadOnly(tool_, Path("missing")), 0);
    EXPECT_EQ(MakeFileReadOnly(tool_, Path("missing")), 0);
}

TEST_F(RealFiles, HardDeleteFile) {
    Write(Path("ro.ldf"), "log", true);
    EXPECT_EQ(HardDeleteFile(tool_, Path("ro.ldf")), 1);
    EXPECT_FALSE(Exists(Path("ro.ldf")));
    EXPECT_EQ(HardDeleteFile(tool_, Path("missing.ldf")), 1);
    CreateDirectoryA(Path("folder.ldf").c_str(), nullptr);
    EXPECT_EQ(HardDeleteFile(tool_, Path("folder.ldf")), 1);
    EXPECT_TRUE(IsFolder(Path("folder.ldf")));
}

TEST_F(RealFiles, HardDeleteFileOfAFileInUse) {
    Write(Path("busy.ldf"), "log");
    UniqueFile busy(CreateFileA(Path("busy.ldf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(busy);
    EXPECT_EQ(HardDeleteFile(tool_, Path("busy.ldf")), 0);
    EXPECT_TRUE(Exists(Path("busy.ldf")));
}

TEST_F(RealFiles, HardCopyFileCodes) {
    Write(Path("src.mdf"), "patients");
    // 1: no source; the target stays.
    Write(Path("target.mdf"), "old");
    EXPECT_EQ(HardCopyFile(tool_, Path("missing.mdf"), Path("target.mdf")), 1);
    EXPECT_EQ(Content(Path("target.mdf")), "old");
    // 0: a read-only target is replaced.
    SetFileAttributesA(Path("target.mdf").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(HardCopyFile(tool_, Path("src.mdf"), Path("target.mdf")), 0);
    EXPECT_EQ(Content(Path("target.mdf")), "patients");
    // 0 without copying: the same file spelt in another case.
    std::string upper = Path("SRC.MDF");
    EXPECT_EQ(HardCopyFile(tool_, Path("src.mdf"), upper), 0);
    EXPECT_EQ(Content(Path("src.mdf")), "patients");
    EXPECT_EQ(HardCopyFile(tool_, Path("src.mdf"), dir_ + "\\.\\src.mdf"), 0);
    EXPECT_EQ(Content(Path("src.mdf")), "patients");
    // 3: a folder at the target cannot be removed as a file, and the copy cannot land there.
    CreateDirectoryA(Path("folder.mdf").c_str(), nullptr);
    EXPECT_EQ(HardCopyFile(tool_, Path("src.mdf"), Path("folder.mdf")), 3);
    EXPECT_TRUE(IsFolder(Path("folder.mdf")));
    // 3: the target's folder does not exist.
    EXPECT_EQ(HardCopyFile(tool_, Path("src.mdf"), Path("nowhere\\t.mdf")), 3);
}

TEST_F(RealFiles, HardCopyFileCarriesReadOnlyAndStopsAtATargetInUse) {
    Write(Path("template.mdf"), "empty", true);
    EXPECT_EQ(HardCopyFile(tool_, Path("template.mdf"), Path("copy.mdf")), 0);
    EXPECT_EQ(Content(Path("copy.mdf")), "empty");
    EXPECT_TRUE(IsReadOnly(Path("copy.mdf")));

    Write(Path("busy.mdf"), "in use");
    {
        UniqueFile busy(CreateFileA(Path("busy.mdf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(busy);
        EXPECT_EQ(HardCopyFile(tool_, Path("template.mdf"), Path("busy.mdf")), 2);
    }
    EXPECT_EQ(Content(Path("busy.mdf")), "in use");
}

// The log writer on the real log folder of this prefix; what it finds there is put back afterwards.
class RealLog : public RealFiles {
protected:
    void SetUp() override {
        RealFiles::SetUp();
        hadOrvanta_ = Exists("C:\\Orvanta");
        if (!hadOrvanta_) {
            ASSERT_TRUE(CreateDirectoryA("C:\\Orvanta", nullptr));
        }
        hadLogs_ = Exists("C:\\Orvanta\\Logs");
        if (!hadLogs_) {
            ASSERT_TRUE(CreateDirectoryA("C:\\Orvanta\\Logs", nullptr));
        }
        if (Exists(kPath)) {
            saved_ = Content(kPath);
            hadLog_ = true;
        }
        DeleteFileA(kPath);
    }
    void TearDown() override {
        DeleteFileA(kPath);
        if (hadLog_) Write(kPath, saved_);
        if (!hadLogs_) RemoveDirectoryA("C:\\Orvanta\\Logs");
        if (!hadOrvanta_) RemoveDirectoryA("C:\\Orvanta");
        RealFiles::TearDown();
    }

    static constexpr const char* kPath = "C:\\Orvanta\\Logs\\Enrolix.log";
    bool hadOrvanta_ = false;
    bool hadLogs_ = false;
    bool hadLog_ = false;
    std::string saved_;
};

TEST_F(RealLog, LinesAreWrittenVerbatimAndTheFileIsEmptiedAtTheLimit) {
    LogMessage(tool_, kLogError, "Failed to HardDeleteFile %s", "C:\\100%d\\%s.ldf");
    WriteLogFile(tool_, kLogNormal, "%d %s %n 100%", kLogFile, kLogLimit, 0);
    std::string text = Content(kPath);
    EXPECT_NE(text.find(", ERROR] Failed to HardDeleteFile C:\\100%d\\%s.ldf\n"), std::string::npos) << text;
    EXPECT_NE(text.find("] %d %s %n 100%\n"), std::string::npos) << text;
    EXPECT_EQ(text.find('\r'), std::string::npos);

    Write(kPath, std::string(102399, 'x'));
    WriteLogFile(tool_, kLogNormal, "appended", kLogFile, kLogLimit, 0);
    EXPECT_EQ(Content(kPath).substr(0, 102399), std::string(102399, 'x'));
    Write(kPath, std::string(102400, 'x'));
    WriteLogFile(tool_, kLogNormal, "afresh", kLogFile, kLogLimit, 0);
    text = Content(kPath);
    EXPECT_EQ(text.find('x'), std::string::npos);
    ASSERT_GE(text.size(), 9u);
    EXPECT_EQ(text.substr(text.size() - 9), "] afresh\n");
    EXPECT_EQ(text.find('\n'), text.size() - 1);
}

TEST_F(RealLog, AFolderInThePlaceOfTheLogDropsTheLineQuietly) {
    ASSERT_TRUE(CreateDirectoryA(kPath, nullptr));
    WriteLogFile(tool_, kLogError, "dropped", kLogFile, kLogLimit, 0);
    EXPECT_TRUE(IsFolder(kPath));
    EXPECT_TRUE(RemoveDirectoryA(kPath));
    WriteLogFile(tool_, kLogError, "written", kLogFile, kLogLimit, 0);
    EXPECT_NE(Content(kPath).find(", ERROR] written\n"), std::string::npos);
}

TEST(UpperCaseAnsi, UpperCasesTheLettersOfTheCodePage) {
    EXPECT_EQ(win32::UpperCaseAnsi("o'neil 100% n/a"), "O'NEIL 100% N/A");
    EXPECT_EQ(win32::UpperCaseAnsi(""), "");
    if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
    EXPECT_EQ(win32::UpperCaseAnsi("m\xfcller \xe9lo\xefse \xf7"), "M\xdcLLER \xc9LO\xcfSE \xf7");
}

}  // namespace
}  // namespace enrolix
