// The ODBC connection against a driver that reports lengths outside the rules, loaded through unixODBC.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/odbc/OdbcConnection.h"

namespace fs = std::filesystem;
using platform::DbError;
using platform::odbc::OdbcConnection;

namespace {

class MisbehavingDriver : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "odbc-misbehaving-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        std::ofstream(folder_ / "odbcinst.ini") << "[Misbehaving]\nDriver=" MISBEHAVING_DRIVER "\n";
        setenv("ODBCSYSINI", folder_.c_str(), 1);
        setenv("ODBCINSTINI", "odbcinst.ini", 1);
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    void SetUp() override { ASSERT_TRUE(connection_.Open("Driver={Misbehaving};")); }

    std::string QueryError(const std::string& sql) {
        try {
            connection_.QueryFirstColumn(sql);
        } catch (const DbError& e) {
            return e.what();
        }
        return "(no error)";
    }

    static fs::path folder_;
    OdbcConnection connection_;
};

fs::path MisbehavingDriver::folder_;

std::string Alphabet(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
    return text;
}

TEST_F(MisbehavingDriver, WellBehavedChunksGiveTheWholeValue) {
    EXPECT_EQ(connection_.QueryFirstColumn("SELECT long"), std::vector<std::string>{Alphabet(600)});
}

TEST_F(MisbehavingDriver, UnknownLengthsStopAtTheTerminatorAndReadOn) {
    EXPECT_EQ(connection_.QueryFirstColumn("SELECT unknown"),
              std::vector<std::string>{"short" + std::string(255, 'm') + "end"});
}

TEST_F(MisbehavingDriver, NonsenseLengthsEndTheReadWithAClearError) {
    EXPECT_EQ(QueryError("SELECT oversized"),
              "SQLGetData reported 1000 bytes as the whole rest of the value in a buffer of 256 bytes");
    EXPECT_EQ(QueryError("SELECT stalled"), "SQLGetData reported more data but returned none");
    EXPECT_EQ(QueryError("SELECT null-later"), "SQLGetData reported NULL after part of the value");
    EXPECT_EQ(QueryError("SELECT negative"), "SQLGetData reported the length -7");
    // The connection stays usable.
    EXPECT_EQ(connection_.QueryFirstColumn("SELECT long"), std::vector<std::string>{Alphabet(600)});
}

TEST_F(MisbehavingDriver, LongDiagnosticsAreCutNotLost) {
    std::string expected = "[test driver] long diagnostic ";
    while (expected.size() < 32767 - 4) expected += static_cast<char>('a' + expected.size() % 26);
    expected += "TAI";  // the largest buffer holds 32,766 characters and the terminator
    expected += " (State:42000,Native:7)";
    const std::string text = QueryError("UPDATE anything");
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_TRUE(text == expected) << text.substr(0, 80) << "..."
                                  << text.substr(text.size() - std::min<std::size_t>(text.size(), 80));
}

}  // namespace
