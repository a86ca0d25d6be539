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

// One ODBC handle, freed with its owner's lifetime.
class Handle {
public:
    Handle() = default;
    Handle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
        SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
        if (!SQL_SUCCEEDED(rc)) {
            handle_ = SQL_NULL_HANDLE;
            std::string text = "SQLAllocHandle failed with return code " + std::to_string(rc);
            if (parent != SQL_NULL_HANDLE)
                text = DiagnosticText(type == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV, parent,
                                      "SQLAllocHandle", rc);
            throw DbError(text);
        }
    }
    ~Handle() { Reset(); }
    Handle(Handle&& other) noexcept : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            type_ = other.type_;
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT type() const { return type_; }
    explicit operator bool() const { return handle_ != SQL_NULL_HANDLE; }
    void Reset() {
        if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, std::exchange(handle_, nullptr));
    }

    // Throws the handle's diagnostics unless rc reports success (or, when allowed, no data).
    SQLRETURN Check(SQLRETURN rc, const char* call, bool noDataIsOk = false) const {
        if (SQL_SUCCEEDED(rc) || (noDataIsOk && rc == SQL_NO_DATA)) return rc;
        throw DbError(DiagnosticText(type_, handle_, call, rc));
    }

private:
    SQLSMALLINT type_ = SQL_HANDLE_ENV;
    SQLHANDLE handle_ = nullptr;
};

// Column values longer than this are refused rather than read on for ever.
constexpr std::size_t kMaxValueSize = std::size_t{16} << 20;

// Reads one column of the current row as text, in chunks; NULL reads empty. Appends only what the driver can
// have written into the chunk, and refuses lengths that no driver following the rules reports.
std::string ReadText(const Handle& stmt, SQLUSMALLINT column) {
    constexpr SQLLEN size = 256;
    std::string value;
    for (bool first = true;; first = false) {
        SQLCHAR chunk[size] = {};
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(stmt.get(), column, SQL_C_CHAR, chunk, size, &indicator);
        if (rc == SQL_NO_DATA) break;  // every chunk was read
        stmt.Check(rc, "SQLGetData");
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
    Handle env;
    Handle dbc;
    bool connected = false;

    void Disconnect() {
        if (connected) SQLDisconnect(dbc.get());
        connected = false;
        dbc.Reset();
    }

    Handle NewStatement() const {
        if (!connected) throw DbError("The connection is not open");
        return Handle(SQL_HANDLE_STMT, dbc.get());
    }
};

OdbcConnection::OdbcConnection() : handles_(std::make_unique<Handles>()) {}

OdbcConnection::~OdbcConnection() { Close(); }

bool OdbcConnection::Open(const std::string& connectString) {
    Close();
    if (!handles_->env) {
        Handle env(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
        env.Check(SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
                  "SQLSetEnvAttr");
        handles_->env = std::move(env);
    }
    Handle dbc(SQL_HANDLE_DBC, handles_->env.get());
    std::string text = StripOdbcPrefix(connectString);
    SQLCHAR completed[1024];
    SQLSMALLINT completedLength = 0;
    SQLRETURN rc = SQLDriverConnect(dbc.get(), nullptr, Text(text), SQL_NTS, completed, sizeof completed,
                                    &completedLength, SQL_DRIVER_NOPROMPT);
    if (rc == SQL_NO_DATA) return false;
    dbc.Check(rc, "SQLDriverConnect");
    handles_->dbc = std::move(dbc);
    handles_->connected = true;
    return true;
}

bool OdbcConnection::IsOpen() const { return handles_->connected; }

void OdbcConnection::Close() { handles_->Disconnect(); }

void OdbcConnection::Execute(const std::string& sql) {
    Handle stmt = handles_->NewStatement();
    std::string text = sql;
    stmt.Check(SQLExecDirect(stmt.get(), Text(text), SQL_NTS), "SQLExecDirect", true);
    // Later results of a batch may carry the server's refusal.
    for (;;) {
        SQLRETURN rc = SQLMoreResults(stmt.get());
        if (rc == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(rc) && HasState(SQL_HANDLE_STMT, stmt.get(), "IM001")) break;  // driver lacks batches
        stmt.Check(rc, "SQLMoreResults");
    }
}

std::vector<std::string> OdbcConnection::QueryFirstColumn(const std::string& sql) {
    Handle stmt = handles_->NewStatement();
    SQLULEN forwardOnly = SQL_CURSOR_FORWARD_ONLY;
    SQLSetStmtAttr(stmt.get(), SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(forwardOnly), 0);
    std::string text = sql;
    std::vector<std::string> rows;
    if (stmt.Check(SQLExecDirect(stmt.get(), Text(text), SQL_NTS), "SQLExecDirect", true) == SQL_NO_DATA) return rows;
    SQLSMALLINT columns = 0;
    stmt.Check(SQLNumResultCols(stmt.get(), &columns), "SQLNumResultCols");
    if (columns < 1) return rows;
    while (stmt.Check(SQLFetch(stmt.get()), "SQLFetch", true) != SQL_NO_DATA) rows.push_back(ReadText(stmt, 1));
    return rows;
}

std::unique_ptr<IDbConnection> OdbcDriver::NewConnection() { return std::make_unique<OdbcConnection>(); }

}  // namespace platform::odbc
