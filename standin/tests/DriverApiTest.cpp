// The driver's entry points called directly through the unixODBC driver manager: chunked and typed reads,
// bound columns, row counts and diagnostic fields, as other clients than the tool's connection use them.
#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "OdbcTestSetup.h"

namespace fs = std::filesystem;

namespace {

SQLCHAR* Sql(const char* text) { return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text)); }

class DriverApi : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = MakeTestFolder("standin-api");
        RegisterStandinDrivers();
        std::ofstream(folder_ / "standin.ini") << "[server localhost\\SQLKOR]\npassword = plain\n";
        setenv("ORVANTA_STANDIN_CONFIG", (folder_ / "standin.ini").c_str(), 1);
        ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)));
        SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_)));
    }
    void TearDown() override {
        if (stmt_) SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
        if (connected_) SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        unsetenv("ORVANTA_STANDIN_CONFIG");
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    SQLRETURN Connect(const char* password) {
        std::string text =
            std::string("Driver={SQL Server};Server=localhost\\SQLKOR;Database=MASTER;Uid=sa;Pwd=") + password + ";";
        SQLCHAR out[512];
        SQLSMALLINT outLength = 0;
        SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, Sql(text.c_str()), SQL_NTS, out, sizeof out, &outLength,
                                        SQL_DRIVER_NOPROMPT);
        connected_ = SQL_SUCCEEDED(rc);
        if (connected_) SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt_);
        return rc;
    }
    SQLRETURN Exec(const char* sql) { return SQLExecDirect(stmt_, Sql(sql), SQL_NTS); }

    fs::path folder_;
    SQLHENV env_ = SQL_NULL_HANDLE;
    SQLHDBC dbc_ = SQL_NULL_HANDLE;
    SQLHSTMT stmt_ = SQL_NULL_HANDLE;
    bool connected_ = false;
};

TEST_F(DriverApi, ARefusedLoginExplainsItselfInEveryDiagnosticForm) {
    ASSERT_EQ(Connect("wrong"), SQL_ERROR);
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[16];
    SQLSMALLINT length = 0;
    // A short buffer gets the start of the text and the whole length.
    EXPECT_EQ(SQLGetDiagRec(SQL_HANDLE_DBC, dbc_, 1, state, &native, message, sizeof message, &length),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_STREQ(reinterpret_cast<char*>(state), "28000");
    EXPECT_EQ(native, 18456);
    const std::string full = "[Microsoft][ODBC SQL Server Driver][SQL Server]Login failed for user 'sa'.";
    EXPECT_EQ(length, static_cast<SQLSMALLINT>(full.size()));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(message)), full.substr(0, sizeof message - 1));

    SQLCHAR text[256] = {};
    EXPECT_TRUE(
        SQL_SUCCEEDED(SQLGetDiagField(SQL_HANDLE_DBC, dbc_, 1, SQL_DIAG_MESSAGE_TEXT, text, sizeof text, &length)));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text)), full);
    SQLINTEGER records = 0;
    EXPECT_TRUE(SQL_SUCCEEDED(SQLGetDiagField(SQL_HANDLE_DBC, dbc_, 0, SQL_DIAG_NUMBER, &records, 0, nullptr)));
    EXPECT_EQ(records, 1);
    EXPECT_EQ(SQLGetDiagRec(SQL_HANDLE_DBC, dbc_, 2, state, &native, text, sizeof text, &length), SQL_NO_DATA);

    // The handle is still usable for a login that works.
    EXPECT_EQ(Connect("tumbleoak"), SQL_SUCCESS);
}

TEST_F(DriverApi, ADataSourceNameConnectsWithTheKeysOfOdbcIni) {
    EXPECT_EQ(SQLConnect(dbc_, Sql("Standin Local"), SQL_NTS, Sql("sa"), SQL_NTS, Sql("wrong"), SQL_NTS), SQL_ERROR);
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLGetDiagRec(SQL_HANDLE_DBC, dbc_, 1, state, &native, nullptr, 0, nullptr);
    EXPECT_STREQ(reinterpret_cast<char*>(state), "28000");
    // A password is one value, whatever it holds.
    EXPECT_EQ(SQLConnect(dbc_, Sql("Standin Local"), SQL_NTS, Sql("sa"), SQL_NTS, Sql("tumbleoak;Uid=sa"), SQL_NTS),
              SQL_ERROR);
    ASSERT_EQ(SQLConnect(dbc_, Sql("Standin Local"), SQL_NTS, Sql("sa"), SQL_NTS, Sql("tumbleoak"), SQL_NTS),
              SQL_SUCCESS);
    connected_ = true;
    char database[32] = {};
    SQLSMALLINT length = 0;
    SQLGetInfo(dbc_, SQL_DATABASE_NAME, database, sizeof database, &length);
    EXPECT_STREQ(database, "MASTER");
}

TEST_F(DriverApi, LongTextIsReadInPiecesUntilNoDataIsLeft) {
    ASSERT_EQ(Connect("tumbleoak"), SQL_SUCCESS);
    ASSERT_EQ(Exec("SELECT N'abcdefgh', NULL, '', 42"), SQL_SUCCESS);
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt_, &columns);
    EXPECT_EQ(columns, 4);
    ASSERT_EQ(SQLFetch(stmt_), SQL_SUCCESS);

    char piece[5];
    SQLLEN indicator = 0;
    EXPECT_EQ(SQLGetData(stmt_, 1, SQL_C_CHAR, piece, sizeof piece, &indicator), SQL_SUCCESS_WITH_INFO);
    EXPECT_STREQ(piece, "abcd");
    EXPECT_EQ(indicator, 8);
    EXPECT_EQ(SQLGetData(stmt_, 1, SQL_C_CHAR, piece, sizeof piece, &indicator), SQL_SUCCESS);
    EXPECT_STREQ(piece, "efgh");
    EXPECT_EQ(indicator, 4);
    EXPECT_EQ(SQLGetData(stmt_, 1, SQL_C_CHAR, piece, sizeof piece, &indicator), SQL_NO_DATA);

    EXPECT_EQ(SQLGetData(stmt_, 2, SQL_C_CHAR, piece, sizeof piece, &indicator), SQL_SUCCESS);
    EXPECT_EQ(indicator, SQL_NULL_DATA);
    EXPECT_EQ(SQLGetData(stmt_, 3, SQL_C_CHAR, piece, sizeof piece, &indicator), SQL_SUCCESS);
    EXPECT_EQ(indicator, 0);
    EXPECT_STREQ(piece, "");
    EXPECT_EQ(SQLGetData(stmt_, 3, SQL_C_CHAR, piece, sizeof piece, &indicator), SQL_NO_DATA);

    SQLINTEGER number = 0;
    EXPECT_EQ(SQLGetData(stmt_, 4, SQL_C_SLONG, &number, 0, &indicator), SQL_SUCCESS);
    EXPECT_EQ(number, 42);
    EXPECT_FALSE(SQL_SUCCEEDED(SQLGetData(stmt_, 5, SQL_C_CHAR, piece, sizeof piece, &indicator)));
    EXPECT_EQ(SQLFetch(stmt_), SQL_NO_DATA);
}

TEST_F(DriverApi, BoundColumnsPreparedStatementsAndRowCounts) {
    ASSERT_EQ(Connect("tumbleoak"), SQL_SUCCESS);
    ASSERT_EQ(Exec("CREATE TABLE t (n INTEGER, v TEXT)"), SQL_SUCCESS);
    ASSERT_EQ(Exec("INSERT INTO t VALUES (1, N'one'), (2, N'two')"), SQL_SUCCESS);
    SQLLEN rows = 0;
    SQLRowCount(stmt_, &rows);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(Exec("UPDATE t SET v = N'x' WHERE n = 9"), SQL_NO_DATA);
    EXPECT_EQ(Exec("DELETE FROM t WHERE n = 2"), SQL_SUCCESS);
    SQLRowCount(stmt_, &rows);
    EXPECT_EQ(rows, 1);

    ASSERT_EQ(SQLPrepare(stmt_, Sql("SELECT n, v AS word FROM t ORDER BY n"), SQL_NTS), SQL_SUCCESS);
    ASSERT_EQ(SQLExecute(stmt_), SQL_SUCCESS);
    SQLCHAR name[32];
    SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    ASSERT_EQ(SQLDescribeCol(stmt_, 2, name, sizeof name, &nameLength, &type, &size, &digits, &nullable), SQL_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<char*>(name), "word");
    EXPECT_EQ(type, SQL_VARCHAR);
    SQLDescribeCol(stmt_, 1, name, sizeof name, &nameLength, &type, &size, &digits, &nullable);
    EXPECT_EQ(type, SQL_INTEGER);

    SQLINTEGER n = 0;
    char v[3] = {};
    SQLLEN nLength = 0, vLength = 0;
    SQLBindCol(stmt_, 1, SQL_C_SLONG, &n, 0, &nLength);
    SQLBindCol(stmt_, 2, SQL_C_CHAR, v, sizeof v, &vLength);
    EXPECT_EQ(SQLFetch(stmt_), SQL_SUCCESS_WITH_INFO);  // "one" does not fit in two characters
    EXPECT_EQ(n, 1);
    EXPECT_STREQ(v, "on");
    EXPECT_EQ(vLength, 3);
    EXPECT_EQ(SQLFetch(stmt_), SQL_NO_DATA);
    SQLCloseCursor(stmt_);

    // A statement without result set has no cursor to fetch from.
    ASSERT_EQ(Exec("INSERT INTO t VALUES (3, NULL)"), SQL_SUCCESS);
    SQLSMALLINT columns = -1;
    SQLNumResultCols(stmt_, &columns);
    EXPECT_EQ(columns, 0);
    EXPECT_EQ(SQLFetch(stmt_), SQL_ERROR);
}

TEST_F(DriverApi, WideReadsAndDriverInformation) {
    ASSERT_EQ(Connect("tumbleoak"), SQL_SUCCESS);
    ASSERT_EQ(Exec("SELECT N'O''Neil'"), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(stmt_), SQL_SUCCESS);
    SQLWCHAR wide[16] = {};
    SQLLEN indicator = 0;
    ASSERT_EQ(SQLGetData(stmt_, 1, SQL_C_WCHAR, wide, sizeof wide, &indicator), SQL_SUCCESS);
    EXPECT_EQ(indicator, static_cast<SQLLEN>(6 * sizeof(SQLWCHAR)));
    EXPECT_EQ(wide[1], static_cast<SQLWCHAR>('\''));
    EXPECT_EQ(wide[6], 0);

    char dbms[64] = {};
    SQLSMALLINT length = 0;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLGetInfo(dbc_, SQL_DBMS_NAME, dbms, sizeof dbms, &length)));
    EXPECT_STREQ(dbms, "Microsoft SQL Server");
    SQLUSMALLINT supported = SQL_FALSE;
    SQLGetFunctions(dbc_, SQL_API_SQLGETDATA, &supported);
    EXPECT_EQ(supported, SQL_TRUE);
}

}  // namespace
