// ODBC connection: RAII handles, diagnostics as text, statements and first-column queries.
#include "platform/odbc/OdbcConnection.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Unique.h"

namespace platform::odbc {
namespace {

SQLCHAR* Text(std::string& s) { return reinterpret_cast<SQLCHAR*>(s.data()); }

// The largest text buffer an SQLSMALLINT length can describe.
constexpr std::size_t kMaxDiagnosticBuffer = 32767;
// Drivers that never answer SQL_NO_DATA stop here.
constexpr SQLSMALLINT kMaxDiagnosticRecords = 64;

// Text the driver wrote into a zeroed buffer: never past its first terminator or the buffer's end.
std::string WrittenText(const SQLCHAR* buffer, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(buffer);
    return std::string(text, strnlen(text, size));
}

// Every diagnostic record of a handle, one after the other: "message (State:xxxxx,Native:n)". Messages longer
// than the largest buffer are cut.
std::string DiagnosticText(SQLSMALLINT type, SQLHANDLE handle, const char* call, SQLRETURN rc) {
    std::string text;
    for (SQLSMALLINT record = 1; record <= kMaxDiagnosticRecords; ++record) {
        SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER native = 0;
        std::vector<SQLCHAR> message(1024, 0);
        SQLSMALLINT length = 0;
        SQLRETURN got = SQLGetDiagRec(type, handle, record, state, &native, message.data(),
                                      static_cast<SQLSMALLINT>(message.size()), &length);
        if (got == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.assign(std::min(static_cast<std::size_t>(length) + 1, kMaxDiagnosticBuffer), 0);
            std::fill(std::begin(state), std::end(state), SQLCHAR{0});
            got = SQLGetDiagRec(type, handle, record, state, &native, message.data(),
                                static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(got)) break;
        if (!text.empty()) text += "; ";
        text += WrittenText(message.data(), message.size() - 1);
        text += " (State:";
        text += WrittenText(state, SQL_SQLSTATE_SIZE);
        text += ",Native:" + std::to_string(native) + ")";
    }
    if (text.empty()) text = std::string(call) + " failed with return code " + std::to_string(rc);
    return text;
}

bool HasState(SQLSMALLINT type, SQLHANDLE handle, std::string_view wanted) {
    SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    return SQL_SUCCEEDED(SQLGetDiagRec(type, handle, 1, state, &native, nullptr, 0, &length)) &&
           wanted == reinterpret_cast<const char*>(state);
}

template <SQLSMALLINT Type>
void FreeHandle(SQLHANDLE handle) noexcept {
    SQLFreeHandle(Type, handle);
}

// One ODBC handle of the given type, freed with its owner's lifetime.
template <SQLSMALLINT Type>
struct Handle : Unique<SQLHANDLE, &FreeHandle<Type>> {};
using Environment = Handle<SQL_HANDLE_ENV>;
using Connection = Handle<SQL_HANDLE_DBC>;
using Statement = Handle<SQL_HANDLE_STMT>;

// A new handle below parent (none for an environment).
template <SQLSMALLINT Type>
Handle<Type> Allocate(SQLHANDLE parent) {
    Handle<Type> handle;
    SQLRETURN rc = SQLAllocHandle(Type, parent, handle.put());
    if (!SQL_SUCCEEDED(rc)) {
        handle.release();
        std::string text = "SQLAllocHandle failed with return code " + std::to_string(rc);
        if (parent != SQL_NULL_HANDLE)
            text =
                DiagnosticText(Type == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV, parent, "SQLAllocHandle", rc);
        throw DbError(text);
    }
    return handle;
}

// Throws the handle's diagnostics unless rc reports success (or, when allowed, no data).
template <SQLSMALLINT Type>
SQLRETURN Check(const Handle<Type>& handle, SQLRETURN rc, const char* call, bool noDataIsOk = false) {
    if (SQL_SUCCEEDED(rc) || (noDataIsOk && rc == SQL_NO_DATA)) return rc;
    throw DbError(DiagnosticText(Type, handle.get(), call, rc));
}

// Column values longer than this are refused rather than read on for ever.
constexpr std::size_t kMaxValueSize = std::size_t{16} << 20;

// Reads one column of the current row as text, in chunks; NULL reads empty. Appends only what the driver can
// have written into the chunk, and refuses lengths that no driver following the rules reports.
std::string ReadText(const Statement& stmt, SQLUSMALLINT column) {
    constexpr SQLLEN size = 256;
    std::string value;
    for (bool first = true;; first = false) {
        SQLCHAR chunk[size] = {};
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(stmt.get(), column, SQL_C_CHAR, chunk, size, &indicator);
        if (rc == SQL_NO_DATA) break;  // every chunk was read
        Check(stmt, rc, "SQLGetData");
        if (indicator == SQL_NULL_DATA) {
            if (first) return {};
            throw DbError("SQLGetData reported NULL after part of the value");
        }
        if (indicator < 0 && indicator != SQL_NO_TOTAL)
            throw DbError("SQLGetData reported the length " + std::to_string(indicator));
        const bool more = rc == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || indicator >= size);
        if (!more && indicator >= size)
            throw DbError("SQLGetData reported " + std::to_string(indicator) + " bytes as the whole rest of the value" +
                          " in a buffer of " + std::to_string(size) + " bytes");
        const std::size_t written = indicator == SQL_NO_TOTAL ? WrittenText(chunk, size - 1).size()
                                    : more                    ? static_cast<std::size_t>(size - 1)
                                                              : static_cast<std::size_t>(indicator);
        value.append(reinterpret_cast<const char*>(chunk), written);
        if (!more) break;
        if (written == 0) throw DbError("SQLGetData reported more data but returned none");
        if (value.size() > kMaxValueSize)
            throw DbError("SQLGetData returned more than " + std::to_string(kMaxValueSize) + " bytes");
    }
    return value;
}

}  // namespace

std::string StripOdbcPrefix(const std::string& connectString) {
    static constexpr std::string_view prefix = "ODBC;";
    if (connectString.size() >= prefix.size()) {
        bool same = true;
        for (std::size_t i = 0; i < prefix.size() && same; ++i)
            same = std::toupper(static_cast<unsigned char>(connectString[i])) == prefix[i];
        if (same) return connectString.substr(prefix.size());
    }
    return connectString;
}

struct OdbcConnection::Handles {
    Environment env;
    Connection dbc;
    bool connected = false;

    void Disconnect() {
        if (connected) SQLDisconnect(dbc.get());
        connected = false;
        dbc.reset();
    }

    Statement NewStatement() const {
        if (!connected) throw DbError("The connection is not open");
        return Allocate<SQL_HANDLE_STMT>(dbc.get());
    }
};

OdbcConnection::OdbcConnection() : handles_(std::make_unique<Handles>()) {}

OdbcConnection::~OdbcConnection() { Close(); }

bool OdbcConnection::Open(const std::string& connectString) {
    Close();
    if (!handles_->env) {
        Environment env = Allocate<SQL_HANDLE_ENV>(SQL_NULL_HANDLE);
        Check(env, SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              "SQLSetEnvAttr");
        handles_->env = std::move(env);
    }
    Connection dbc = Allocate<SQL_HANDLE_DBC>(handles_->env.get());
    std::string text = StripOdbcPrefix(connectString);
    SQLCHAR completed[1024];
    SQLSMALLINT completedLength = 0;
    SQLRETURN rc = SQLDriverConnect(dbc.get(), nullptr, Text(text), SQL_NTS, completed, sizeof completed,
                                    &completedLength, SQL_DRIVER_NOPROMPT);
    if (rc == SQL_NO_DATA) return false;
    Check(dbc, rc, "SQLDriverConnect");
    handles_->dbc = std::move(dbc);
    handles_->connected = true;
    return true;
}

bool OdbcConnection::IsOpen() const { return handles_->connected; }

void OdbcConnection::Close() { handles_->Disconnect(); }

void OdbcConnection::Execute(const std::string& sql) {
    Statement stmt = handles_->NewStatement();
    std::string text = sql;
    Check(stmt, SQLExecDirect(stmt.get(), Text(text), SQL_NTS), "SQLExecDirect", true);
    // Later results of a batch may carry the server's refusal.
    for (;;) {
        SQLRETURN rc = SQLMoreResults(stmt.get());
        if (rc == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(rc) && HasState(SQL_HANDLE_STMT, stmt.get(), "IM001")) break;  // driver lacks batches
        Check(stmt, rc, "SQLMoreResults");
    }
}

std::vector<std::string> OdbcConnection::QueryFirstColumn(const std::string& sql) {
    Statement stmt = handles_->NewStatement();
    SQLULEN forwardOnly = SQL_CURSOR_FORWARD_ONLY;
    SQLSetStmtAttr(stmt.get(), SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(forwardOnly), 0);
    std::string text = sql;
    std::vector<std::string> rows;
    if (Check(stmt, SQLExecDirect(stmt.get(), Text(text), SQL_NTS), "SQLExecDirect", true) == SQL_NO_DATA) return rows;
    SQLSMALLINT columns = 0;
    Check(stmt, SQLNumResultCols(stmt.get(), &columns), "SQLNumResultCols");
    if (columns < 1) return rows;
    while (Check(stmt, SQLFetch(stmt.get()), "SQLFetch", true) != SQL_NO_DATA) rows.push_back(ReadText(stmt, 1));
    return rows;
}

std::unique_ptr<IDbConnection> OdbcDriver::NewConnection() { return std::make_unique<OdbcConnection>(); }

std::vector<std::string> InstalledDrivers() {
    std::vector<std::string> drivers;
    try {
        Environment environment = Allocate<SQL_HANDLE_ENV>(SQL_NULL_HANDLE);
        SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLCHAR name[512];
        SQLCHAR attributes[2048];
        SQLSMALLINT nameLength = 0, attributesLength = 0;
        SQLUSMALLINT direction = SQL_FETCH_FIRST;
        while (SQL_SUCCEEDED(SQLDrivers(environment.get(), direction, name, sizeof name, &nameLength, attributes,
                                        sizeof attributes, &attributesLength))) {
            drivers.push_back(WrittenText(name, sizeof name));
            direction = SQL_FETCH_NEXT;
        }
    } catch (const DbError&) {
        // No environment: no driver to list.
    }
    return drivers;
}

}  // namespace platform::odbc
