// The Win32 adapters against the real Windows functions (run under Wine).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/testing/BoxWatch.h"
#include "platform/win32/testing/ScratchFolder.h"

using namespace platform;
using namespace platform::win32;
using platform::win32::testing::BoxSeen;
using platform::win32::testing::HostWindow;
using platform::win32::testing::WatchBox;

namespace {

class Scratch : public platform::win32::testing::ScratchFolder {
protected:
    Win32FileSystem files_;
    Win32Profile profile_;
};

using ProfileTest = Scratch;
using FileSystemTest = Scratch;

TEST_F(ProfileTest, WrittenValuesReadBackAndCutToTheBuffer) {
    std::string ini = Path("TomoCfg.ini");
    ASSERT_TRUE(profile_.Write(ini, "Server Connection", "Server", "CENTRAL01"));
    ASSERT_TRUE(profile_.Write(ini, "System Parameters", "Database", "SQL Server"));
    EXPECT_EQ(profile_.Read(ini, "Server Connection", "Server", "", 127), "CENTRAL01");
    EXPECT_EQ(profile_.Read(ini, "System Parameters", "Database", "", 127), "SQL Server");
    // A buffer of n bytes holds n - 1 characters.
    EXPECT_EQ(profile_.Read(ini, "Server Connection", "Server", "", 5), "CENT");
    EXPECT_EQ(profile_.Read(ini, "Server Connection", "Server", "", 1), "");
    EXPECT_EQ(profile_.Read(ini, "Server Connection", "Server", "", 0), "");
    // Rewriting keeps one key; an empty value reads empty, not as the default.
    ASSERT_TRUE(profile_.Write(ini, "Server Connection", "Server", ""));
    EXPECT_EQ(profile_.Read(ini, "Server Connection", "Server", "dflt", 127), "");
    EXPECT_EQ(profile_.Read(ini, "System Parameters", "Database", "", 127), "SQL Server");
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    std::string ini = Path("SqlInstall.ini");
    EXPECT_EQ(profile_.Read(ini, "Options", "SAPWD", "tumbleoak", 128), "tumbleoak");
    EXPECT_EQ(profile_.Read(ini, "Options", "INSTANCENAME", "SQLKOR", 4), "SQL");
    ASSERT_TRUE(profile_.Write(ini, "Options", "SAPWD", "velvetoak#317"));
    EXPECT_EQ(profile_.Read(ini, "Options", "INSTANCENAME", "SQLKOR", 16), "SQLKOR");
    EXPECT_EQ(profile_.Read(ini, "Other", "SAPWD", "x", 16), "x");
    EXPECT_EQ(profile_.Read(ini, "options", "sapwd", "", 128), "velvetoak#317");
}

TEST_F(ProfileTest, DoubledBackslashInThePathReachesTheSameFile) {
    ASSERT_TRUE(CreateDirectoryA(Path("bin").c_str(), nullptr));
    ASSERT_TRUE(profile_.Write(Path("bin\\TomoCfg.ini"), "Server Connection", "Server", "WS01"));
    EXPECT_EQ(profile_.Read(dir_ + "\\\\bin\\TomoCfg.ini", "Server Connection", "Server", "", 127), "WS01");
}

// Whether a read-only file refuses writes is not checked here: Wine keeps the attribute as missing
// write permission, which does not stop a root user.
TEST_F(ProfileTest, ReadOnlyFileStillReadsAndWritesAgainOnceWritable) {
    std::string ini = Path("SqlInstall.ini");
    ASSERT_TRUE(profile_.Write(ini, "Options", "SAPWD", "tumbleoak"));
    ASSERT_TRUE(files_.SetWritable(ini, false));
    EXPECT_EQ(profile_.Read(ini, "Options", "SAPWD", "", 128), "tumbleoak");
    ASSERT_TRUE(files_.SetWritable(ini, true));
    EXPECT_TRUE(profile_.Write(ini, "Options", "SAPWD", "velvetoak#317"));
    EXPECT_EQ(profile_.Read(ini, "Options", "SAPWD", "", 128), "velvetoak#317");
    EXPECT_FALSE(files_.Status(ini)->readOnly);
}

TEST_F(FileSystemTest, StatusTellsFilesFoldersAndMissingPaths) {
    EXPECT_FALSE(files_.Status(Path("missing.mdf")).has_value());
    ASSERT_TRUE(files_.WriteText(Path("PATIENT.mdf"), "12345", WriteMode::Truncate));
    auto file = files_.Status(Path("PATIENT.mdf"));
    ASSERT_TRUE(file.has_value());
    EXPECT_FALSE(file->isDirectory);
    EXPECT_FALSE(file->readOnly);
    EXPECT_EQ(file->size, 5u);
    auto folder = files_.Status(dir_);
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(folder->isDirectory);
}

TEST_F(FileSystemTest, ReadOnlyFileResistsDeletionUntilMadeWritable) {
    std::string path = Path("SqlInstall.ini");
    ASSERT_TRUE(files_.WriteText(path, "x", WriteMode::Truncate));
    ASSERT_TRUE(files_.SetWritable(path, false));
    EXPECT_TRUE(files_.Status(path)->readOnly);
    EXPECT_FALSE(files_.RemoveFile(path));
    EXPECT_TRUE(files_.Status(path).has_value());
    ASSERT_TRUE(files_.SetWritable(path, true));
    EXPECT_FALSE(files_.Status(path)->readOnly);
    EXPECT_TRUE(files_.RemoveFile(path));
    EXPECT_FALSE(files_.Status(path).has_value());
    EXPECT_FALSE(files_.RemoveFile(path));
    EXPECT_FALSE(files_.SetWritable(path, true));
}

TEST_F(FileSystemTest, CopyHonoursFailIfExists) {
    std::string from = Path("Empty_PATIENT.mdf");
    std::string to = Path("PATIENT.mdf");
    ASSERT_TRUE(files_.WriteText(from, "template", WriteMode::Truncate));
    EXPECT_TRUE(files_.Copy(from, to, true));
    EXPECT_EQ(Content(to), "template");
    ASSERT_TRUE(files_.WriteText(to, "data", WriteMode::Truncate));
    EXPECT_FALSE(files_.Copy(from, to, true));
    EXPECT_EQ(Content(to), "data");
    EXPECT_TRUE(files_.Copy(from, to, false));
    EXPECT_EQ(Content(to), "template");
    EXPECT_FALSE(files_.Copy(Path("missing.mdf"), Path("other.mdf"), false));
    EXPECT_FALSE(files_.Status(Path("other.mdf")).has_value());
}

TEST_F(FileSystemTest, MakeDirectoryMakesOneLevel) {
    EXPECT_TRUE(files_.MakeDirectory(Path("Logs")));
    EXPECT_TRUE(files_.Status(Path("Logs"))->isDirectory);
    EXPECT_FALSE(files_.MakeDirectory(Path("Logs")));
    EXPECT_FALSE(files_.MakeDirectory(Path("Orvanta\\Logs")));
    EXPECT_FALSE(files_.Status(Path("Orvanta")).has_value());
}

TEST_F(FileSystemTest, WriteTextAppendsOrTruncatesVerbatim) {
    std::string log = Path("Enrolix.log");
    EXPECT_TRUE(files_.WriteText(log, "[02/05/2015 23:48:30] one %s\n", WriteMode::Append));
    EXPECT_TRUE(files_.WriteText(log, "[02/05/2015 23:48:31, ERROR] two\n", WriteMode::Append));
    EXPECT_EQ(Content(log), "[02/05/2015 23:48:30] one %s\n[02/05/2015 23:48:31, ERROR] two\n");
    EXPECT_TRUE(files_.WriteText(log, "three\n", WriteMode::Truncate));
    EXPECT_EQ(Content(log), "three\n");
    EXPECT_TRUE(files_.WriteText(log, "", WriteMode::Truncate));
    EXPECT_EQ(files_.Status(log)->size, 0u);
    EXPECT_FALSE(files_.WriteText(Path("NoFolder\\Enrolix.log"), "x\n", WriteMode::Append));
    EXPECT_FALSE(files_.WriteText(dir_, "x\n", WriteMode::Append));
}

TEST_F(FileSystemTest, CurrentDirectoryIsTheProcessWorkingFolder) {
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));
    std::string current = files_.CurrentDirectory();
    SetCurrentDirectoryA(before);
    EXPECT_EQ(current, dir_);
}

TEST_F(FileSystemTest, FailuresKeepTheirWindowsErrorCode) {
    EXPECT_FALSE(files_.RemoveFile(Path("missing.jpg")));
    EXPECT_EQ(files_.LastError(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    ASSERT_TRUE(files_.WriteText(Path("a.jpg"), "x", WriteMode::Truncate));
    EXPECT_FALSE(files_.Copy(Path("a.jpg"), Path("NoFolder\\a.jpg"), false));
    EXPECT_EQ(files_.LastError(), static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(files_.MakeDirectory(dir_));
    EXPECT_EQ(files_.LastError(), static_cast<std::uint32_t>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(files_.ChangeCurrentDirectory(Path("NoFolder")));
    EXPECT_TRUE(files_.LastError() == ERROR_FILE_NOT_FOUND || files_.LastError() == ERROR_PATH_NOT_FOUND)
        << files_.LastError();
    // A file held open without sharing cannot be deleted.
    HANDLE held = CreateFileA(Path("a.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files_.RemoveFile(Path("a.jpg")));
    EXPECT_EQ(files_.LastError(), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    CloseHandle(held);
    EXPECT_TRUE(files_.RemoveFile(Path("a.jpg")));
}

TEST_F(FileSystemTest, ChangeCurrentDirectorySetsTheProcessWorkingFolder) {
    std::string before = files_.CurrentDirectory();
    ASSERT_TRUE(files_.ChangeCurrentDirectory(dir_));
    std::string now = files_.CurrentDirectory();
    SetCurrentDirectoryA(before.c_str());
    EXPECT_EQ(now, dir_);
}

TEST_F(FileSystemTest, ListGivesNamesAttributesAndSizesByWildcard) {
    Write(Path("12345_OD.jpg"), "abcd");
    Write(Path("12345_os"), "ab");
    Write(Path("other.txt"), "");
    ASSERT_TRUE(CreateDirectoryA(Path("12345_sub").c_str(), nullptr));
    Write(Path("12345_hidden.jpg"), "h");
    SetFileAttributesA(Path("12345_hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

    auto all = files_.List(Path("*"));
    ASSERT_TRUE(all.has_value());
    std::vector<std::string> names;
    for (const auto& entry : *all) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"12345_OD.jpg", "12345_hidden.jpg", "12345_os", "12345_sub", "other.txt"}));
    for (const auto& entry : *all) {
        EXPECT_EQ(entry.isDirectory, entry.name == "12345_sub") << entry.name;
        EXPECT_EQ(entry.hidden, entry.name == "12345_hidden.jpg") << entry.name;
        EXPECT_EQ(entry.system, entry.name == "12345_hidden.jpg") << entry.name;
        if (entry.name == "12345_OD.jpg") {
            EXPECT_EQ(entry.size, 4u);
        }
    }

    // "*.*" also matches a name without extension; the case of the pattern does not count.
    auto keyed = files_.List(Path("12345_*.*"));
    ASSERT_TRUE(keyed.has_value());
    EXPECT_EQ(keyed->size(), 4u);
    EXPECT_EQ(files_.List(Path("12345_O*.JPG"))->size(), 1u);
    EXPECT_TRUE(files_.List(Path("nothing_*.*"))->empty());

    EXPECT_FALSE(files_.List(Path("NoFolder\\*")).has_value());
    EXPECT_EQ(files_.LastError(), static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
}

TEST(ShellTest, ExecuteAnswersTheShellsNumbers) {
    Win32Shell shell;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string missing = std::string(temp) + "orvanta-missing-" + std::to_string(GetCurrentProcessId()) + ".exe";
    EXPECT_EQ(shell.Execute(nullptr, "open", missing, "", "", SW_SHOWNORMAL), 2);
    std::string unknown = std::string(temp) + "orvanta-" + std::to_string(GetCurrentProcessId()) + ".unknownext";
    { std::ofstream(unknown) << "x"; }
    EXPECT_EQ(shell.Execute(nullptr, "open", unknown, "", "", SW_SHOWNORMAL), 31);
    DeleteFileA(unknown.c_str());
}

std::vector<int> closed;
void RecordClose(int value) noexcept { closed.push_back(value); }
using Owned = Unique<int, &RecordClose, -1>;

TEST(UniqueTest, ClosesWhatItHoldsOnceAndNothingElse) {
    const struct {
        const char* name;
        std::function<void()> use;
        std::vector<int> closed;
    } kCases[] = {
        {"leaving scope closes", [] { Owned held(3); }, {3}},
        {"empty holds nothing", [] { Owned none, invalid(-1); }, {}},
        {"put closes what is held first",
         [] {
             Owned held(3);
             *held.put() = 4;
             EXPECT_EQ(held.get(), 4);
         },
         {3, 4}},
        {"release gives up ownership",
         [] {
             Owned held(3);
             EXPECT_EQ(held.release(), 3);
             EXPECT_FALSE(held);
         },
         {}},
        {"reset closes once",
         [] {
             Owned held(3);
             held.reset();
             held.reset();
             held.reset(5);
         },
         {3, 5}},
        {"a move hands over",
         [] {
             Owned from(3), to(6);
             to = Owned(std::move(from));
             EXPECT_FALSE(from);
         },
         {6, 3}},
    };
    for (const auto& c : kCases) {
        closed.clear();
        c.use();
        EXPECT_EQ(closed, c.closed) << c.name;
    }
    // A real handle: closed by its owner, INVALID_HANDLE_VALUE held as none.
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    UniqueHandle(event).reset();
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(event, &flags));
    EXPECT_FALSE(UniqueFile(INVALID_HANDLE_VALUE));
}

TEST(SystemTest, ComputerNameFitsItsBufferOrIsEmpty) {
    Win32System system;
    std::string name = system.ComputerName(64);
    ASSERT_FALSE(name.empty());
    EXPECT_LT(name.size(), 64u);
    EXPECT_EQ(name.find('\0'), std::string::npos);
    EXPECT_EQ(system.ComputerName(name.size()), "");
    EXPECT_EQ(system.ComputerName(name.size() + 1), name);
}

TEST(SystemTest, ModuleHandleAndConsole) {
    Win32System system;
    EXPECT_TRUE(system.HaveModuleHandle());
    system.DetachConsole();  // with or without a console, the program goes on
    EXPECT_TRUE(system.HaveModuleHandle());
}

TEST(SystemTest, UuidsAreFreshVersion4InMemoryOrder) {
    Win32System system;
    UuidResult first = system.CreateUuid();
    UuidResult second = system.CreateUuid();
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(second.status, 0);
    EXPECT_NE(first.bytes, second.bytes);
    // Data3 is stored little-endian: its version nibble is the high half of byte 7.
    EXPECT_EQ(first.bytes[7] >> 4, 4);
    EXPECT_EQ(first.bytes[8] & 0xC0, 0x80);
}

TEST(ClockTest, LocalTimeIsNow) {
    Win32Clock clock;
    std::int64_t unixNow = clock.UnixNow();
    std::tm local = clock.LocalNow();
    EXPECT_GE(local.tm_year, 124);
    EXPECT_NEAR(static_cast<double>(std::mktime(&local)), static_cast<double>(unixNow), 5.0);
}

TEST(MessageBoxTest, StylesGiveTheirFlags) {
    MsgStyle question{MsgButtons::YesNo, MsgIcon::Question, true, true};
    EXPECT_EQ(Win32MessageBox::Flags(question),
              static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL | MB_TOPMOST));
    MsgStyle critical{MsgButtons::Ok, MsgIcon::Critical, false, false};
    EXPECT_EQ(Win32MessageBox::Flags(critical), static_cast<unsigned>(MB_OK | MB_ICONHAND));
    MsgStyle plain{MsgButtons::OkCancel, MsgIcon::Exclamation, false, true};
    EXPECT_EQ(Win32MessageBox::Flags(plain), static_cast<unsigned>(MB_OKCANCEL | MB_ICONEXCLAMATION | MB_TOPMOST));
    EXPECT_EQ(Win32MessageBox::Flags(MsgStyle{}), static_cast<unsigned>(MB_OK));
}

TEST(MessageBoxTest, HostBoxIsOwnedByTheActiveWindowAndDisablesIt) {
    HostWindow host(true);
    ASSERT_NE(host.get(), nullptr);
    ASSERT_EQ(GetActiveWindow(), host.get());
    Win32MessageBox boxes(BoxOwner::CallingThread);
    BoxSeen seen = WatchBox("Owned box", host.get(),
                            [&] { EXPECT_EQ(boxes.Show("text", "Owned box", MsgStyle{}), MsgAnswer::Ok); });
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, host.get());
    EXPECT_FALSE(seen.hostEnabled);
    EXPECT_TRUE(IsWindowEnabled(host.get()));
}

TEST(MessageBoxTest, HostBoxWithoutActiveWindowIsTaskModal) {
    HostWindow host(false);
    ASSERT_NE(host.get(), nullptr);
    ASSERT_EQ(GetActiveWindow(), nullptr);
    Win32MessageBox boxes(BoxOwner::CallingThread);
    BoxSeen seen =
        WatchBox("Task box", host.get(), [&] { EXPECT_EQ(boxes.Show("text", "Task box", MsgStyle{}), MsgAnswer::Ok); });
    EXPECT_TRUE(seen.found);
    EXPECT_FALSE(seen.hostEnabled);
    EXPECT_TRUE(IsWindowEnabled(host.get()));
}

}  // namespace
