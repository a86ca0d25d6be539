// The ODBC connection against the SQLite ODBC driver, registered in a private odbcinst.ini.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/odbc/OdbcConnection.h"

namespace fs = std::filesystem;
using platform::DbError;
using platform::odbc::OdbcConnection;
using platform::odbc::StripOdbcPrefix;

namespace {

class SqliteOdbc : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
#ifdef SQLITE_ODBC_DRIVER
        char pattern[] = "/tmp/odbc-test-XXXXXX";
        folder_ = mkdtemp(pattern);
        std::ofstream(folder_ / "odbcinst.ini") << "[SQLite3]\nDescription=SQLite 3\nDriver=" SQLITE_ODBC_DRIVER "\n";
        setenv("ODBCSYSINI", folder_.c_str(), 1);
        setenv("ODBCINSTINI", "odbcinst.ini", 1);
#endif
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        if (!folder_.empty()) fs::remove_all(folder_, ignored);
    }
    void SetUp() override {
#ifndef SQLITE_ODBC_DRIVER
        GTEST_SKIP() << "the SQLite ODBC driver is not installed";
#endif
        database_ = folder_ / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".db");
    }
    std::string ConnectString() const { return "Driver={SQLite3};Database=" + database_.string() + ";"; }

    static fs::path folder_;
    fs::path database_;
};

fs::path SqliteOdbc::folder_;

std::string OpenError(OdbcConnection& connection, const std::string& connectString) {
    try {
        connection.Open(connectString);
    } catch (const DbError& e) {
        return e.what();
    }
    return "(opened)";
}

TEST(OdbcPrefix, RemovedOnlyAtTheStart) {
    EXPECT_EQ(StripOdbcPrefix("ODBC;DRIVER={x};SERVER=a;"), "DRIVER={x};SERVER=a;");
    EXPECT_EQ(StripOdbcPrefix("odbc;DRIVER={x};"), "DRIVER={x};");
    EXPECT_EQ(StripOdbcPrefix("Driver={x};ODBC;"), "Driver={x};ODBC;");
    EXPECT_EQ(StripOdbcPrefix("ODBC"), "ODBC");
    EXPECT_EQ(StripOdbcPrefix(""), "");
}

TEST_F(SqliteOdbc, FailedOpenCarriesTheDiagnosticText) {
    OdbcConnection connection;
    std::string text = OpenError(connection, "Driver={No Such Driver};Database=x;");
    EXPECT_NE(text.find("[unixODBC][Driver Manager]Can't open lib 'No Such Driver'"), std::string::npos) << text;
    EXPECT_NE(text.find("(State:01000,Native:0)"), std::string::npos) << text;
    EXPECT_FALSE(connection.IsOpen());

    text = OpenError(connection, "Driver={SQLite3};Database=" + (folder_ / "missing" / "x.db").string() + ";");
    EXPECT_NE(text.find("State:"), std::string::npos) << text;
    EXPECT_FALSE(connection.IsOpen()) << text;
    EXPECT_THROW(connection.Execute("SELECT 1"), DbError);
}

TEST_F(SqliteOdbc, OpensWithOrWithoutTheOdbcPrefixAndReopens) {
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open("ODBC;" + ConnectString()));
    EXPECT_TRUE(connection.IsOpen());
    connection.Execute("CREATE TABLE t (v TEXT)");
    connection.Close();
    connection.Close();
    EXPECT_FALSE(connection.IsOpen());
    ASSERT_TRUE(connection.Open(ConnectString()));
    ASSERT_TRUE(connection.Open(ConnectString()));  // an open connection is closed first
    EXPECT_TRUE(connection.QueryFirstColumn("SELECT v FROM t").empty());
}

TEST_F(SqliteOdbc, QueriesReadTheFirstColumnOfEveryRow) {
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(ConnectString()));
    connection.Execute("CREATE TABLE Patient (LNAME TEXT, FName TEXT, PATIENT_ID INTEGER)");
    connection.Execute("INSERT INTO Patient VALUES ('O''Neil', 'Ann', 4)");
    connection.Execute("INSERT INTO Patient VALUES (NULL, 'Bob', 7)");
    connection.Execute("INSERT INTO Patient VALUES ('', 'Cy', NULL)");

    EXPECT_EQ(connection.QueryFirstColumn("SELECT LNAME, FName FROM Patient ORDER BY FName"),
              (std::vector<std::string>{"O'Neil", "", ""}));
    EXPECT_EQ(connection.QueryFirstColumn("SELECT count(*) FROM Patient"), std::vector<std::string>{"3"});
    EXPECT_EQ(connection.QueryFirstColumn("SELECT Max(PATIENT_ID) FROM Patient"), std::vector<std::string>{"7"});
    EXPECT_EQ(connection.QueryFirstColumn("SELECT Max(PATIENT_ID) FROM Patient WHERE FName = 'none'"),
              std::vector<std::string>{""});
    EXPECT_TRUE(connection.QueryFirstColumn("SELECT LNAME FROM Patient WHERE 0").empty());
    EXPECT_TRUE(connection.QueryFirstColumn("UPDATE Patient SET FName = FName").empty());
}

TEST_F(SqliteOdbc, LongValuesAreReadInChunks) {
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(ConnectString()));
    connection.Execute("CREATE TABLE t (n INTEGER, v TEXT)");
    std::vector<std::string> expected;
    for (std::size_t length : {254u, 255u, 256u, 511u, 2000u}) {
        std::string value;
        for (std::size_t i = 0; i < length; ++i) value += static_cast<char>('a' + i % 26);
        connection.Execute("INSERT INTO t VALUES (" + std::to_string(length) + ", '" + value + "')");
        expected.push_back(value);
    }
    EXPECT_EQ(connection.QueryFirstColumn("SELECT v FROM t ORDER BY n"), expected);
}

TEST_F(SqliteOdbc, RefusedStatementsCarryTheDriverTextAndLeaveTheConnectionUsable) {
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(ConnectString()));
    try {
        connection.Execute("INSERT INTO Missing VALUES (1)");
        FAIL() << "the insert ran";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("no such table"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("State:"), std::string::npos) << e.what();
    }
    EXPECT_THROW(connection.QueryFirstColumn("SELECT x FROM Missing"), DbError);
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_EQ(connection.QueryFirstColumn("SELECT 1 + 1"), std::vector<std::string>{"2"});
}

}  // namespace
