// What every IFileSystem promises, written once and run on each implementation (the in-memory one natively,
// the Win32 adapter under Wine). A port type P, made afresh for each test, gives:
//   IFileSystem& Files()                   the file system under test
//   std::string Root()                     an empty folder of the test's own, without a final separator
//   void MarkHiddenSystem(path)            gives a file the hidden and system attributes
//   void HoldOpen(path) / LetGo()          keeps a file open without sharing, then closes what is held
//   std::string Content(path)              what a file holds, read past the port
//   bool ReadOnlyStopsWrites()             false where the read-only attribute does not stop a write (Wine
//                                          keeps it as missing write permission, which does not stop root)
//   static constexpr bool kWindows         true where Windows answers (the adapter, on Windows or Wine)
// The port restores the process's working folder when it goes. Where Windows itself gives another answer than
// the expected one, the check accepts it through Windows(...) with the reason beside it; the fake must give the
// expected one.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace platform::contract {

template <class P>
class FileSystemContract : public ::testing::Test {
protected:
    IFileSystem& files() { return port_.Files(); }
    std::string Path(const std::string& name) { return port_.Root() + "\\" + name; }
    // An answer that only Windows may give.
    static bool Windows(bool condition) { return P::kWindows && condition; }
    void Write(const std::string& name, const std::string& content) {
        ASSERT_TRUE(files().WriteText(Path(name), content, WriteMode::Truncate)) << name;
    }
    std::string Content(const std::string& name) { return port_.Content(Path(name)); }
    std::vector<std::string> Names(const std::string& pattern) {
        std::vector<std::string> names;
        if (auto entries = files().List(Path(pattern)))
            for (const auto& entry : *entries) names.push_back(entry.name);
        std::sort(names.begin(), names.end());
        return names;
    }
    // The same, through the batches of ListInBatches.
    std::vector<std::string> BatchedNames(const std::string& pattern) {
        std::vector<std::string> names;
        bool listed = files().ListInBatches(Path(pattern), [&](std::vector<DirEntry>& batch) {
            EXPECT_FALSE(batch.empty());
            for (const auto& entry : batch) names.push_back(entry.name);
        });
        EXPECT_TRUE(listed) << pattern;
        std::sort(names.begin(), names.end());
        return names;
    }
    std::uint32_t Error() { return files().LastError(); }

    P port_;
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, StatusTellsFilesFoldersAndMissingPaths) {
    auto& files = this->files();
    this->Write("PATIENT.mdf", "12345");
    auto file = files.Status(this->Path("PATIENT.mdf"));
    ASSERT_TRUE(file.has_value());
    EXPECT_FALSE(file->isDirectory);
    EXPECT_FALSE(file->readOnly);
    EXPECT_EQ(file->size, 5u);
    auto folder = files.Status(this->port_.Root());
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(folder->isDirectory);
    EXPECT_TRUE(files.Status("C:\\").value_or(FileStatus{}).isDirectory);

    EXPECT_FALSE(files.Status(this->Path("missing.mdf")).has_value());
    EXPECT_EQ(this->Error(), error::kFileNotFound);
    EXPECT_FALSE(files.Status(this->Path("NoFolder\\missing.mdf")).has_value());
    EXPECT_EQ(this->Error(), error::kPathNotFound);
}

// Windows makes every spelling full before it looks: separators either way and doubled, "." and ".." resolved
// by the text alone, names without regard to case.
TYPED_TEST_P(FileSystemContract, SpellingsOfAPathReachTheSameFile) {
    auto& files = this->files();
    ASSERT_TRUE(files.MakeDirectory(this->Path("Review")));
    this->Write("Review\\Key_OD.jpg", "abc");
    const char* spellings[] = {
        "Review\\Key_OD.jpg",
        "REVIEW\\key_od.JPG",
        "Review/Key_OD.jpg",
        "Review\\\\Key_OD.jpg",
        "Review\\.\\Key_OD.jpg",
        "Review\\..\\Review\\Key_OD.jpg",
        "NoFolder\\..\\Review\\Key_OD.jpg",
    };
    for (const char* spelling : spellings) {
        auto status = files.Status(this->Path(spelling));
        ASSERT_TRUE(status.has_value()) << spelling;
        EXPECT_EQ(status->size, 3u) << spelling;
    }
    EXPECT_TRUE(files.Status(this->Path("Review\\")).value_or(FileStatus{}).isDirectory);
    // The working folder completes a relative path.
    ASSERT_TRUE(files.ChangeCurrentDirectory(this->Path("Review")));
    EXPECT_EQ(files.Status("Key_OD.jpg").value_or(FileStatus{}).size, 3u);
    EXPECT_EQ(files.Status("..\\Review\\Key_OD.jpg").value_or(FileStatus{}).size, 3u);
}

TYPED_TEST_P(FileSystemContract, MakeDirectoryMakesOneLevel) {
    auto& files = this->files();
    EXPECT_TRUE(files.MakeDirectory(this->Path("Logs")));
    EXPECT_TRUE(files.Status(this->Path("Logs"))->isDirectory);
    EXPECT_FALSE(files.MakeDirectory(this->Path("Logs")));
    EXPECT_EQ(this->Error(), error::kAlreadyExists);
    EXPECT_FALSE(files.MakeDirectory(this->port_.Root()));
    EXPECT_EQ(this->Error(), error::kAlreadyExists);
    this->Write("Enrolix.log", "x");
    EXPECT_FALSE(files.MakeDirectory(this->Path("Enrolix.log")));
    EXPECT_EQ(this->Error(), error::kAlreadyExists);
    EXPECT_FALSE(files.MakeDirectory(this->Path("Orvanta\\Logs")));
    EXPECT_EQ(this->Error(), error::kPathNotFound);
    EXPECT_FALSE(files.Status(this->Path("Orvanta")).has_value());
}

TYPED_TEST_P(FileSystemContract, RemoveFileRefusesWhatItMustKeep) {
    auto& files = this->files();
    std::string path = this->Path("SqlInstall.ini");
    this->Write("SqlInstall.ini", "x");
    ASSERT_TRUE(files.SetWritable(path, false));
    EXPECT_TRUE(files.Status(path)->readOnly);
    EXPECT_FALSE(files.RemoveFile(path));
    EXPECT_EQ(this->Error(), error::kAccessDenied);
    EXPECT_TRUE(files.Status(path).has_value());
    ASSERT_TRUE(files.SetWritable(path, true));
    EXPECT_FALSE(files.Status(path)->readOnly);

    // A file held open without sharing cannot be deleted.
    this->port_.HoldOpen(path);
    EXPECT_FALSE(files.RemoveFile(path));
    EXPECT_EQ(this->Error(), error::kSharingViolation);
    this->port_.LetGo();
    EXPECT_TRUE(files.RemoveFile(path));
    EXPECT_FALSE(files.Status(path).has_value());

    EXPECT_FALSE(files.RemoveFile(path));
    EXPECT_EQ(this->Error(), error::kFileNotFound);
    EXPECT_FALSE(files.RemoveFile(this->Path("NoFolder\\a.jpg")));
    EXPECT_EQ(this->Error(), error::kPathNotFound);
    ASSERT_TRUE(files.MakeDirectory(this->Path("Logs")));
    EXPECT_FALSE(files.RemoveFile(this->Path("Logs")));
    EXPECT_EQ(this->Error(), error::kAccessDenied);
    EXPECT_TRUE(files.Status(this->Path("Logs")).has_value());
}

TYPED_TEST_P(FileSystemContract, CopyHonoursFailIfExistsAndKeepsTheAttribute) {
    auto& files = this->files();
    std::string from = this->Path("Empty_PATIENT.mdf");
    std::string to = this->Path("PATIENT.mdf");
    this->Write("Empty_PATIENT.mdf", "template");
    EXPECT_TRUE(files.Copy(from, to, true));
    EXPECT_EQ(this->Content("PATIENT.mdf"), "template");
    this->Write("PATIENT.mdf", "data");
    EXPECT_FALSE(files.Copy(from, to, true));
    EXPECT_EQ(this->Error(), error::kFileExists);
    EXPECT_EQ(this->Content("PATIENT.mdf"), "data");
    EXPECT_TRUE(files.Copy(from, to, false));
    EXPECT_EQ(this->Content("PATIENT.mdf"), "template");

    // The read-only attribute travels with the copy, and a read-only target stays.
    ASSERT_TRUE(files.SetWritable(from, false));
    EXPECT_TRUE(files.Copy(from, this->Path("Copy.mdf"), true));
    EXPECT_TRUE(files.Status(this->Path("Copy.mdf"))->readOnly);
    if (this->port_.ReadOnlyStopsWrites()) {
        EXPECT_FALSE(files.Copy(to, this->Path("Copy.mdf"), false));
        EXPECT_EQ(this->Error(), error::kAccessDenied);
    }

    EXPECT_FALSE(files.Copy(this->Path("missing.mdf"), this->Path("other.mdf"), false));
    EXPECT_EQ(this->Error(), error::kFileNotFound);
    EXPECT_FALSE(files.Status(this->Path("other.mdf")).has_value());
    EXPECT_FALSE(files.Copy(to, this->Path("NoFolder\\a.mdf"), false));
    EXPECT_EQ(this->Error(), error::kPathNotFound);
    ASSERT_TRUE(files.MakeDirectory(this->Path("Logs")));
    EXPECT_FALSE(files.Copy(to, this->Path("Logs"), false));
    EXPECT_EQ(this->Error(), error::kAccessDenied);
}

TYPED_TEST_P(FileSystemContract, SetWritableTellsWhyItFailed) {
    auto& files = this->files();
    EXPECT_FALSE(files.SetWritable(this->Path("missing.ini"), true));
    EXPECT_EQ(this->Error(), error::kFileNotFound);
    EXPECT_FALSE(files.SetWritable(this->Path("NoFolder\\missing.ini"), false));
    EXPECT_EQ(this->Error(), error::kPathNotFound);
}

TYPED_TEST_P(FileSystemContract, WriteTextAppendsOrTruncatesAndTellsWhyItFailed) {
    auto& files = this->files();
    std::string log = this->Path("Enrolix.log");
    EXPECT_TRUE(files.WriteText(log, "[02/05/2015 23:48:30] one %s\n", WriteMode::Append));
    EXPECT_TRUE(files.WriteText(log, "[02/05/2015 23:48:31, ERROR] two\n", WriteMode::Append));
    EXPECT_EQ(this->Content("Enrolix.log"), "[02/05/2015 23:48:30] one %s\n[02/05/2015 23:48:31, ERROR] two\n");
    EXPECT_TRUE(files.WriteText(log, "three\n", WriteMode::Truncate));
    EXPECT_EQ(this->Content("Enrolix.log"), "three\n");
    EXPECT_TRUE(files.WriteText(log, "", WriteMode::Truncate));
    EXPECT_EQ(files.Status(log)->size, 0u);
    EXPECT_TRUE(files.WriteText(this->Path("new.log"), "", WriteMode::Append));
    EXPECT_TRUE(files.Status(this->Path("new.log")).has_value());

    EXPECT_FALSE(files.WriteText(this->Path("NoFolder\\Enrolix.log"), "x\n", WriteMode::Append));
    EXPECT_EQ(this->Error(), error::kPathNotFound);
    EXPECT_FALSE(files.WriteText(this->port_.Root(), "x\n", WriteMode::Append));
    EXPECT_EQ(this->Error(), error::kAccessDenied);
    ASSERT_TRUE(files.SetWritable(log, false));
    if (this->port_.ReadOnlyStopsWrites()) {
        EXPECT_FALSE(files.WriteText(log, "x\n", WriteMode::Append));
        EXPECT_EQ(this->Error(), error::kAccessDenied);
        EXPECT_EQ(files.Status(log)->size, 0u);
    }
}

TYPED_TEST_P(FileSystemContract, ChangeCurrentDirectorySetsTheWorkingFolder) {
    auto& files = this->files();
    ASSERT_TRUE(files.ChangeCurrentDirectory(this->Path("")));  // a final separator is no part of the name
    EXPECT_EQ(files.CurrentDirectory(), this->port_.Root());
    EXPECT_FALSE(files.ChangeCurrentDirectory(this->Path("NoFolder")));
    // Windows: a missing last part is a missing file.
    EXPECT_TRUE(this->Error() == error::kPathNotFound || this->Windows(this->Error() == error::kFileNotFound))
        << this->Error();
    EXPECT_FALSE(files.ChangeCurrentDirectory(this->Path("NoFolder\\Deeper")));
    EXPECT_EQ(this->Error(), error::kPathNotFound);
    EXPECT_EQ(files.CurrentDirectory(), this->port_.Root());
}

TYPED_TEST_P(FileSystemContract, ListMatchesWildcardsAndGivesAttributes) {
    auto& files = this->files();
    this->Write("12345_OD.jpg", "abcd");
    this->Write("12345_os", "ab");
    this->Write("other.txt", "");
    this->Write("12345_hidden.jpg", "h");
    this->port_.MarkHiddenSystem(this->Path("12345_hidden.jpg"));
    ASSERT_TRUE(files.MakeDirectory(this->Path("12345_sub")));

    auto all = files.List(this->Path("*"));
    ASSERT_TRUE(all.has_value());
    for (const auto& entry : *all) {
        EXPECT_EQ(entry.isDirectory, entry.name == "12345_sub") << entry.name;
        EXPECT_EQ(entry.hidden, entry.name == "12345_hidden.jpg") << entry.name;
        EXPECT_EQ(entry.system, entry.name == "12345_hidden.jpg") << entry.name;
        if (entry.name == "12345_OD.jpg") {
            EXPECT_EQ(entry.size, 4u);
        }
    }

    using Names = std::vector<std::string>;
    const Names everything{"12345_OD.jpg", "12345_hidden.jpg", "12345_os", "12345_sub", "other.txt"};
    struct Case {
        const char* pattern;
        Names names;
    };
    const Case cases[] = {
        {"*", everything},
        {"*.*", everything},  // a final ".*" also matches a name without extension
        {"12345_*.*", {"12345_OD.jpg", "12345_hidden.jpg", "12345_os", "12345_sub"}},
        {"12345_O*.JPG", {"12345_OD.jpg"}},  // the case of the pattern does not count
        {"*.jpg", {"12345_OD.jpg", "12345_hidden.jpg"}},
        {"?????_os", {"12345_os"}},
        {"12345_O?.jpg", {"12345_OD.jpg"}},
        {"other.txt", {"other.txt"}},
        {"nothing_*.*", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(this->Names(c.pattern), c.names) << c.pattern;
        EXPECT_EQ(this->BatchedNames(c.pattern), c.names) << c.pattern;
    }

    EXPECT_FALSE(files.List(this->Path("NoFolder\\*")).has_value());
    EXPECT_EQ(this->Error(), error::kPathNotFound);
    EXPECT_FALSE(files.ListInBatches(this->Path("NoFolder\\*"), [](std::vector<DirEntry>&) {}));
    EXPECT_EQ(this->Error(), error::kPathNotFound);
}

TYPED_TEST_P(FileSystemContract, FullPathResolvesLikeTheSystem) {
    auto& files = this->files();
    ASSERT_TRUE(files.MakeDirectory(this->Path("Review")));
    ASSERT_TRUE(files.ChangeCurrentDirectory(this->Path("Review")));
    std::string root = this->port_.Root();
    struct Case {
        std::string path;
        std::string full;
    };
    const Case cases[] = {
        {"Key_OD.jpg", root + "\\Review\\Key_OD.jpg"},
        {".\\New\\..\\Key_OD.jpg", root + "\\Review\\Key_OD.jpg"},
        {"..", root},
        {root + "/Review//Key_OD.jpg", root + "\\Review\\Key_OD.jpg"},
        {root + "\\Review\\.", root + "\\Review"},
        {"\\", "C:\\"},
        {"C:\\..", "C:\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(files.FullPath(c.path).value_or("<none>"), c.full) << c.path;
    EXPECT_FALSE(files.FullPath("").has_value());
    EXPECT_EQ(this->Error(), error::kInvalidName);
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, StatusTellsFilesFoldersAndMissingPaths,
                            SpellingsOfAPathReachTheSameFile, MakeDirectoryMakesOneLevel,
                            RemoveFileRefusesWhatItMustKeep, CopyHonoursFailIfExistsAndKeepsTheAttribute,
                            SetWritableTellsWhyItFailed, WriteTextAppendsOrTruncatesAndTellsWhyItFailed,
                            ChangeCurrentDirectorySetsTheWorkingFolder, ListMatchesWildcardsAndGivesAttributes,
                            FullPathResolvesLikeTheSystem);

}  // namespace platform::contract
