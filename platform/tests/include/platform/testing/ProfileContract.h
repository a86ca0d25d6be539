// What every IProfile promises, written once and run on each implementation. The port type P is the one of the
// file-system contract, and gives besides IProfile& Profile(), reading the files of Files().
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/FileSystem.h"
#include "platform/Profile.h"

namespace platform::contract {

template <class P>
class ProfileContract : public ::testing::Test {
protected:
    IProfile& profile() { return port_.Profile(); }
    IFileSystem& files() { return port_.Files(); }
    std::string Path(const std::string& name) { return port_.Root() + "\\" + name; }

    P port_;
};

TYPED_TEST_SUITE_P(ProfileContract);

TYPED_TEST_P(ProfileContract, WrittenValuesReadBackAndCutToTheBuffer) {
    auto& profile = this->profile();
    std::string ini = this->Path("TomoCfg.ini");
    ASSERT_TRUE(profile.Write(ini, "Server Connection", "Server", "CENTRAL01"));
    ASSERT_TRUE(profile.Write(ini, "System Parameters", "Database", "SQL Server"));
    EXPECT_EQ(profile.Read(ini, "Server Connection", "Server", "", 127), "CENTRAL01");
    EXPECT_EQ(profile.Read(ini, "System Parameters", "Database", "", 127), "SQL Server");
    // A buffer of n bytes holds n - 1 characters.
    EXPECT_EQ(profile.Read(ini, "Server Connection", "Server", "", 5), "CENT");
    EXPECT_EQ(profile.Read(ini, "Server Connection", "Server", "", 1), "");
    EXPECT_EQ(profile.Read(ini, "Server Connection", "Server", "", 0), "");
    // Rewriting keeps one key; an empty value reads empty, not as the default.
    ASSERT_TRUE(profile.Write(ini, "Server Connection", "Server", ""));
    EXPECT_EQ(profile.Read(ini, "Server Connection", "Server", "dflt", 127), "");
    EXPECT_EQ(profile.Read(ini, "System Parameters", "Database", "", 127), "SQL Server");
}

TYPED_TEST_P(ProfileContract, MissingFileSectionOrKeyGivesTheDefault) {
    auto& profile = this->profile();
    std::string ini = this->Path("SqlInstall.ini");
    EXPECT_EQ(profile.Read(ini, "Options", "SAPWD", "tumbleoak", 128), "tumbleoak");
    EXPECT_EQ(profile.Read(ini, "Options", "INSTANCENAME", "SQLKOR", 4), "SQL");
    ASSERT_TRUE(profile.Write(ini, "Options", "SAPWD", "velvetoak#317"));
    EXPECT_EQ(profile.Read(ini, "Options", "INSTANCENAME", "SQLKOR", 16), "SQLKOR");
    EXPECT_EQ(profile.Read(ini, "Other", "SAPWD", "x", 16), "x");
    EXPECT_EQ(profile.Read(ini, "options", "sapwd", "", 128), "velvetoak#317");
    EXPECT_FALSE(profile.Write(this->Path("NoFolder\\SqlInstall.ini"), "Options", "SAPWD", "x"));
}

// Files as people write them: blanks around names and values, quotes around a value, other sections between.
TYPED_TEST_P(ProfileContract, HandWrittenFilesReadAsTheSystemReadsThem) {
    auto& profile = this->profile();
    std::string ini = this->Path("SystemSet.ini");
    ASSERT_TRUE(this->files().WriteText(ini,
                                        "[Machine]\r\n MachineName = WS01 \r\nHome=\"C:\\Orvanta\\\"\r\n"
                                        "[Other]\r\nName='quoted'\r\n",
                                        WriteMode::Truncate));
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"Machine", "MachineName", "WS01"}, {"Machine", "Home", "C:\\Orvanta\\"}, {"Other", "Name", "quoted"}};
    auto readBack = [&] {
        for (const auto& c : cases) EXPECT_EQ(profile.Read(ini, c.section, c.key, "", 64), c.value) << c.key;
    };
    readBack();
    ASSERT_TRUE(profile.Write(ini, "Machine", "Database", "SQL Server"));
    EXPECT_EQ(profile.Read(ini, "Machine", "Database", "", 64), "SQL Server");
    readBack();  // a write leaves the rest as it was
}

TYPED_TEST_P(ProfileContract, DoubledBackslashInThePathReachesTheSameFile) {
    auto& profile = this->profile();
    ASSERT_TRUE(this->files().MakeDirectory(this->Path("bin")));
    ASSERT_TRUE(profile.Write(this->Path("bin\\TomoCfg.ini"), "Server Connection", "Server", "WS01"));
    EXPECT_EQ(profile.Read(this->Path("\\bin\\TomoCfg.ini"), "Server Connection", "Server", "", 127), "WS01");
}

// Whether a read-only file refuses writes is not checked here: Wine keeps the attribute as missing
// write permission, which does not stop a root user.
TYPED_TEST_P(ProfileContract, ReadOnlyFileStillReadsAndWritesAgainOnceWritable) {
    auto& profile = this->profile();
    auto& files = this->files();
    std::string ini = this->Path("SqlInstall.ini");
    ASSERT_TRUE(profile.Write(ini, "Options", "SAPWD", "tumbleoak"));
    ASSERT_TRUE(files.SetWritable(ini, false));
    EXPECT_EQ(profile.Read(ini, "Options", "SAPWD", "", 128), "tumbleoak");
    ASSERT_TRUE(files.SetWritable(ini, true));
    EXPECT_TRUE(profile.Write(ini, "Options", "SAPWD", "velvetoak#317"));
    EXPECT_EQ(profile.Read(ini, "Options", "SAPWD", "", 128), "velvetoak#317");
    EXPECT_FALSE(files.Status(ini)->readOnly);
}

REGISTER_TYPED_TEST_SUITE_P(ProfileContract, WrittenValuesReadBackAndCutToTheBuffer,
                            MissingFileSectionOrKeyGivesTheDefault, HandWrittenFilesReadAsTheSystemReadsThem,
                            DoubledBackslashInThePathReachesTheSameFile,
                            ReadOnlyFileStillReadsAndWritesAgainOnceWritable);

}  // namespace platform::contract
