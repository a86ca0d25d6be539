// An ODBC driver that answers outside the rules, for the connection's tests. Every statement text names what
// its one-row, one-column result or its failure does wrong:
//   "SELECT oversized"   SQL_SUCCESS with "abc" written and an indicator of 1000
//   "SELECT unknown"     SQL_NO_TOTAL chunks with short writes and junk after the terminator, then the end
//   "SELECT stalled"     SQL_NO_TOTAL with nothing written, for ever
//   "SELECT null-later"  one truncated chunk, then SQL_NULL_DATA
//   "SELECT negative"    an indicator of -7
//   "SELECT long"        a well-behaved 600-byte value
//   anything else        fails with a 32,767-byte diagnostic
#include <sql.h>
#include <sqlext.h>

#include <cstring>
#include <string>

#define TEST_DRIVER_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Stmt {
    std::string scenario;
    int calls = 0;
    bool fetched = false;
    bool failed = false;
};

struct Dbc {
    bool connected = false;
};

int env_token;

constexpr SQLSMALLINT kLongDiagnostic = 32767;

// The long diagnostic: a recognisable head, filler, and a tail that a cut removes.
std::string LongDiagnostic() {
    std::string text = "[test driver] long diagnostic ";
    while (text.size() < kLongDiagnostic - 4) text += static_cast<char>('a' + text.size() % 26);
    return text + "TAIL";
}

void Fill(SQLPOINTER target, SQLLEN size, const std::string& text, char junk) {
    char* out = static_cast<char*>(target);
    std::memset(out, junk, static_cast<std::size_t>(size));
    std::memcpy(out, text.c_str(), text.size() + 1);
}

}  // namespace

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE, SQLHANDLE* output) {
    switch (type) {
        case SQL_HANDLE_ENV:
            *output = &env_token;
            return SQL_SUCCESS;
        case SQL_HANDLE_DBC:
            *output = new Dbc;
            return SQL_SUCCESS;
        case SQL_HANDLE_STMT:
            *output = new Stmt;
            return SQL_SUCCESS;
        default:
            return SQL_ERROR;
    }
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
    if (type == SQL_HANDLE_DBC) delete static_cast<Dbc*>(handle);
    if (type == SQL_HANDLE_STMT) delete static_cast<Stmt*>(handle);
    return SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
    if (option == SQL_DROP) delete static_cast<Stmt*>(handle);
    return SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER) {
    return SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT, SQLINTEGER, SQLPOINTER, SQLINTEGER) {
    return SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLGetInfo(SQLHDBC, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT max,
                                                SQLSMALLINT* length) {
    const char* text = type == SQL_DRIVER_ODBC_VER ? "03.00" : "";
    if (value && max > 0) {
        std::strncpy(static_cast<char*>(value), text, static_cast<std::size_t>(max));
        static_cast<char*>(value)[max - 1] = '\0';
    }
    if (length) *length = static_cast<SQLSMALLINT>(std::strlen(text));
    return SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR*, SQLSMALLINT, SQLCHAR* out,
                                                      SQLSMALLINT max, SQLSMALLINT* length, SQLUSMALLINT) {
    static_cast<Dbc*>(handle)->connected = true;
    if (out && max > 0) out[0] = '\0';
    if (length) *length = 0;
    return SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
    static_cast<Dbc*>(handle)->connected = false;
    return SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER) {
    Stmt* stmt = static_cast<Stmt*>(handle);
    std::string sql = reinterpret_cast<const char*>(text);
    *stmt = Stmt{};
    if (sql.rfind("SELECT ", 0) != 0) {
        stmt->failed = true;
        return SQL_ERROR;
    }
    stmt->scenario = sql.substr(7);
    return SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLMoreResults(SQLHSTMT) { return SQL_NO_DATA; }

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT, SQLSMALLINT* count) {
    *count = 1;
    return SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
    Stmt* stmt = static_cast<Stmt*>(handle);
    if (stmt->fetched) return SQL_NO_DATA;
    stmt->fetched = true;
    return SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT) { return SQL_SUCCESS; }

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER target,
                                                SQLLEN size, SQLLEN* indicator) {
    Stmt* stmt = static_cast<Stmt*>(handle);
    const int call = stmt->calls++;
    const std::string& s = stmt->scenario;
    if (s == "oversized") {
        if (call > 0) return SQL_NO_DATA;
        Fill(target, size, "abc", 'X');
        *indicator = 1000;
        return SQL_SUCCESS;
    }
    if (s == "unknown") {
        if (call == 0) {
            Fill(target, size, "short", 'X');
            *indicator = SQL_NO_TOTAL;
            return SQL_SUCCESS_WITH_INFO;
        }
        if (call == 1) {
            Fill(target, size, std::string(static_cast<std::size_t>(size - 1), 'm'), 'X');
            *indicator = SQL_NO_TOTAL;
            return SQL_SUCCESS_WITH_INFO;
        }
        if (call == 2) {
            Fill(target, size, "end", 'X');
            *indicator = SQL_NO_TOTAL;
            return SQL_SUCCESS;
        }
        return SQL_NO_DATA;
    }
    if (s == "stalled") {
        Fill(target, size, "", 'X');
        *indicator = SQL_NO_TOTAL;
        return SQL_SUCCESS_WITH_INFO;
    }
    if (s == "null-later") {
        if (call > 0) {
            *indicator = SQL_NULL_DATA;
            return SQL_SUCCESS;
        }
        Fill(target, size, std::string(static_cast<std::size_t>(size - 1), 'n'), 'X');
        *indicator = 5000;
        return SQL_SUCCESS_WITH_INFO;
    }
    if (s == "negative") {
        Fill(target, size, "neg", 'X');
        *indicator = -7;
        return SQL_SUCCESS;
    }
    if (s == "long") {
        static const std::string value = [] {
            std::string v;
            for (int i = 0; i < 600; ++i) v += static_cast<char>('a' + i % 26);
            return v;
        }();
        const std::size_t offset = static_cast<std::size_t>(call) * static_cast<std::size_t>(size - 1);
        if (offset >= value.size()) return SQL_NO_DATA;
        const std::string rest = value.substr(offset);
        *indicator = static_cast<SQLLEN>(rest.size());
        if (static_cast<SQLLEN>(rest.size()) < size) {
            Fill(target, size, rest, '\0');
            return SQL_SUCCESS;
        }
        Fill(target, size, rest.substr(0, static_cast<std::size_t>(size - 1)), '\0');
        return SQL_SUCCESS_WITH_INFO;
    }
    return SQL_ERROR;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                                   SQLCHAR* state, SQLINTEGER* native, SQLCHAR* message,
                                                   SQLSMALLINT max, SQLSMALLINT* length) {
    if (type != SQL_HANDLE_STMT || record != 1 || !static_cast<Stmt*>(handle)->failed) return SQL_NO_DATA;
    static const std::string text = LongDiagnostic();
    if (state) std::memcpy(state, "42000", 6);
    if (native) *native = 7;
    if (length) *length = static_cast<SQLSMALLINT>(text.size());
    if (!message || max <= 0) return SQL_SUCCESS_WITH_INFO;
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(max - 1));
    std::memcpy(message, text.data(), copied);
    message[copied] = '\0';
    return copied < text.size() ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

TEST_DRIVER_EXPORT SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                                     SQLSMALLINT field, SQLPOINTER info, SQLSMALLINT, SQLSMALLINT*) {
    const bool failed = type == SQL_HANDLE_STMT && static_cast<Stmt*>(handle)->failed;
    if (record == 0 && field == SQL_DIAG_NUMBER) {
        *static_cast<SQLINTEGER*>(info) = failed ? 1 : 0;
        return SQL_SUCCESS;
    }
    if (record == 0 && field == SQL_DIAG_RETURNCODE) {
        *static_cast<SQLRETURN*>(info) = failed ? SQL_ERROR : SQL_SUCCESS;
        return SQL_SUCCESS;
    }
    return SQL_NO_DATA;
}
