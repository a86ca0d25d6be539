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

#include "platform/testing/FileSystemContract.h"
#include "platform/testing/ProfileContract.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/testing/BoxWatch.h"

using namespace platform;
using namespace platform::win32;
using platform::win32::testing::BoxSeen;
using platform::win32::testing::HostWindow;
using platform::win32::testing::WatchBox;

namespace {

// A port for the contracts: a root folder of each test's own under the temporary folder, named in the adapter's
// path text (in UTF-8, with letters outside the ANSI code page, so that every name reaches the wide calls).
template <Win32FileSystem::PathText Text>
class Win32Port {
public:
    static constexpr bool kWindows = true;
    Win32Port() {
        static int count = 0;
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        wchar_t current[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, current);
        before_ = current;
        root_ = std::wstring(temp) + L"orvanta-contract-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++count) + (Text == Win32FileSystem::PathText::Utf8 ? L"-\u00dcber\u03a9" : L"");
        std::filesystem::remove_all(root_);
        if (!CreateDirectoryW(root_.c_str(), nullptr)) ADD_FAILURE() << "no root folder";
    }
    ~Win32Port() {
        LetGo();
        SetCurrentDirectoryW(before_.c_str());
        // Read-only files would stop the removal.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root_))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(root_);
    }
    Win32Port(const Win32Port&) = delete;
    Win32Port& operator=(const Win32Port&) = delete;

    IFileSystem& Files() { return files_; }
    IProfile& Profile() { return profile_; }
    std::string Root() const { return Narrow(root_); }
    void MarkHiddenSystem(const std::string& path) {
        ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    }
    void HoldOpen(const std::string& path) {
        held_.reset(CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held_);
    }
    void LetGo() { held_.reset(); }
    static bool ReadOnlyStopsWrites() {
        return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
    }
    std::string Content(const std::string& path) const {
        std::ifstream in(std::filesystem::path(Wide(path)), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    static UINT CodePage() { return Text == Win32FileSystem::PathText::Utf8 ? CP_UTF8 : CP_ACP; }
    static std::wstring Wide(const std::string& text) {
        std::wstring wide(text.size(), L'\0');
        int size = MultiByteToWideChar(CodePage(), 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                       static_cast<int>(wide.size()));
        wide.resize(static_cast<std::size_t>(size > 0 ? size : 0));
        return wide;
    }
    static std::string Narrow(const std::wstring& text) {
        std::string narrow(text.size() * 4, '\0');
        int size = WideCharToMultiByte(CodePage(), 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                                       static_cast<int>(narrow.size()), nullptr, nullptr);
        narrow.resize(static_cast<std::size_t>(size > 0 ? size : 0));
        return narrow;
    }

    Win32FileSystem files_{Text};
    Win32Profile profile_;
    std::wstring root_;
    std::wstring before_;
    UniqueFile held_;
};

using AnsiPort = Win32Port<Win32FileSystem::PathText::Ansi>;
using Utf8Port = Win32Port<Win32FileSystem::PathText::Utf8>;

TEST(FileSystemTest, CurrentDirectoryIsTheProcessWorkingFolder) {
    Win32FileSystem files;
    char temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    std::string dir = std::string(temp) + "orvanta-" + std::to_string(GetCurrentProcessId()) + "-current";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
    std::string current = files.CurrentDirectory();
    SetCurrentDirectoryA(before);
    RemoveDirectoryA(dir.c_str());
    EXPECT_EQ(current, dir);
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

namespace platform::contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Ansi, FileSystemContract, AnsiPort);
INSTANTIATE_TYPED_TEST_SUITE_P(Utf8, FileSystemContract, Utf8Port);
INSTANTIATE_TYPED_TEST_SUITE_P(Ansi, ProfileContract, AnsiPort);
}  // namespace platform::contract
