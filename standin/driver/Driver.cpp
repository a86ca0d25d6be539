// The ODBC driver entry points that unixODBC's driver manager calls, over standin::Connection.
// Exported functions never call each other: inside a process that has loaded the driver manager, their names
// would reach the manager's functions of the same name.
#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ConnectionString.h"
#include "standin/core/Connection.h"
#include "standin/core/Ini.h"

#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using standin::Connection;
using standin::Diagnostic;
using standin::Failure;
using standin::Result;

constexpr unsigned kEnvMagic = 0x53454e56, kDbcMagic = 0x53444243, kStmtMagic = 0x53535444;

struct Diagnostics {
    std::vector<Diagnostic> records;
    SQLRETURN returnCode = SQL_SUCCESS;
    std::size_t errorCursor = 0;  // records already handed out by SQLError
};

struct HandleBase {
    unsigned magic;
    Diagnostics diag;
    explicit HandleBase(unsigned m) : magic(m) {}
    ~HandleBase() { magic = 0; }
    SQLRETURN Fail(const char* state, const std::string& message, int native = 0) {
        diag.records.push_back({state, native, "[Orvanta][Stand-in ODBC Driver]" + message});
        return diag.returnCode = SQL_ERROR;
    }
    SQLRETURN Fail(const Failure& failure) {
        diag.records.insert(diag.records.end(), failure.records.begin(), failure.records.end());
        return diag.returnCode = SQL_ERROR;
    }
    SQLRETURN Info(const char* state, const std::string& message) {
        diag.records.push_back({state, 0, "[Orvanta][Stand-in ODBC Driver]" + message});
        return diag.returnCode = SQL_SUCCESS_WITH_INFO;
    }
    void Clear() { diag = Diagnostics(); }
};

struct Env : HandleBase {
    Env() : HandleBase(kEnvMagic) {}
    SQLINTEGER odbcVersion = SQL_OV_ODBC3;
};

struct Dbc : HandleBase {
    explicit Dbc(Env* e) : HandleBase(kDbcMagic), env(e) {}
    Env* env;
    std::unique_ptr<Connection> connection;
    std::map<SQLINTEGER, SQLULEN> attributes;
};

struct Binding {
    SQLSMALLINT type = SQL_C_CHAR;
    SQLPOINTER target = nullptr;
    SQLLEN length = 0;
    SQLLEN* indicator = nullptr;
};

struct Stmt : HandleBase {
    explicit Stmt(Dbc* d) : HandleBase(kStmtMagic), dbc(d) {}
    Dbc* dbc;
    std::string prepared;
    bool hasPrepared = false;
    Result result;
    bool cursorOpen = false;
    std::size_t row = 0;  // 1-based current row; 0 before the first
    std::vector<std::size_t> readOffset;
    std::vector<bool> readDone;
    std::map<SQLUSMALLINT, Binding> bindings;
    std::map<SQLINTEGER, SQLULEN> attributes;
    SQLULEN* rowsFetched = nullptr;
    SQLUSMALLINT* rowStatus = nullptr;
    int descriptors[4] = {};  // stand-ins for the implicit descriptors, only their addresses are used

    void CloseCursor() {
        cursorOpen = false;
        result = Result();
        row = 0;
    }
};

template <typename T>
T* As(SQLHANDLE handle, unsigned magic) {
    auto* base = static_cast<HandleBase*>(handle);
    return base && base->magic == magic ? static_cast<T*>(base) : nullptr;
}

// Copies text into a caller's buffer with a terminating zero; true when it had to be cut.
template <typename Length>
bool CopyText(const std::string& text, SQLPOINTER buffer, SQLLEN size, Length* length) {
    if (length) *length = static_cast<Length>(text.size());
    if (!buffer || size <= 0) return !text.empty();
    std::size_t fit = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), fit);
    static_cast<char*>(buffer)[fit] = '\0';
    return fit < text.size();
}

std::string Text(SQLCHAR* text, SQLINTEGER length) {
    if (!text) return {};
    const char* chars = reinterpret_cast<const char*>(text);
    return length == SQL_NTS ? std::string(chars)
                             : std::string(chars, static_cast<std::size_t>(std::max<SQLINTEGER>(0, length)));
}

// ---- handles -------------------------------------------------------------------------------------------------

SQLRETURN AllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
    if (!output) return SQL_ERROR;
    *output = SQL_NULL_HANDLE;
    switch (type) {
        case SQL_HANDLE_ENV:
            *output = new Env();
            return SQL_SUCCESS;
        case SQL_HANDLE_DBC: {
            Env* env = As<Env>(input, kEnvMagic);
            if (!env) return SQL_INVALID_HANDLE;
            env->Clear();
            *output = new Dbc(env);
            return SQL_SUCCESS;
        }
        case SQL_HANDLE_STMT: {
            Dbc* dbc = As<Dbc>(input, kDbcMagic);
            if (!dbc) return SQL_INVALID_HANDLE;
            dbc->Clear();
            if (!dbc->connection) return dbc->Fail("08003", "Connection not open");
            *output = new Stmt(dbc);
            return SQL_SUCCESS;
        }
        default:
            return SQL_ERROR;
    }
}

SQLRETURN FreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
    switch (type) {
        case SQL_HANDLE_ENV:
            if (Env* env = As<Env>(handle, kEnvMagic)) {
                delete env;
                return SQL_SUCCESS;
            }
            break;
        case SQL_HANDLE_DBC:
            if (Dbc* dbc = As<Dbc>(handle, kDbcMagic)) {
                delete dbc;
                return SQL_SUCCESS;
            }
            break;
        case SQL_HANDLE_STMT:
            if (Stmt* stmt = As<Stmt>(handle, kStmtMagic)) {
                delete stmt;
                return SQL_SUCCESS;
            }
            break;
        case SQL_HANDLE_DESC:
            return SQL_ERROR;
    }
    return SQL_INVALID_HANDLE;
}

HandleBase* Base(SQLSMALLINT type, SQLHANDLE handle) {
    switch (type) {
        case SQL_HANDLE_ENV:
            return As<Env>(handle, kEnvMagic);
        case SQL_HANDLE_DBC:
            return As<Dbc>(handle, kDbcMagic);
        case SQL_HANDLE_STMT:
            return As<Stmt>(handle, kStmtMagic);
        default:
            return nullptr;
    }
}

// ---- connections ---------------------------------------------------------------------------------------------

SQLRETURN Connect(Dbc* dbc, const std::string& connectString) {
    dbc->Clear();
    if (dbc->connection) return dbc->Fail("08002", "Connection name in use");
    try {
        dbc->connection = Connection::Open(connectString);
    } catch (const Failure& failure) {
        return dbc->Fail(failure);
    } catch (const std::exception& e) {
        return dbc->Fail("HY000", e.what());
    }
    return SQL_SUCCESS;
}

// ---- statements ----------------------------------------------------------------------------------------------

SQLRETURN Run(Stmt* stmt, const std::string& sql) {
    stmt->Clear();
    stmt->CloseCursor();
    if (!stmt->dbc->connection) return stmt->Fail("08003", "Connection not open");
    try {
        stmt->result = stmt->dbc->connection->Execute(sql);
    } catch (const Failure& failure) {
        return stmt->Fail(failure);
    } catch (const std::exception& e) {
        return stmt->Fail("HY000", e.what());
    }
    stmt->cursorOpen = stmt->result.hasRows;
    stmt->readOffset.assign(stmt->result.columns.size(), 0);
    stmt->readDone.assign(stmt->result.columns.size(), false);
    std::string first = standin::Lower(standin::Trim(sql.substr(0, std::min<std::size_t>(sql.size(), 16))));
    if (stmt->result.rowCount == 0 && (first.starts_with("update") || first.starts_with("delete")))
        return SQL_NO_DATA;  // a searched update or delete that touched no row
    return SQL_SUCCESS;
}

std::size_t DisplaySize(const Stmt* stmt, std::size_t column) {
    std::size_t size = stmt->result.columns[column].integer ? 11 : 1;
    for (const auto& row : stmt->result.rows)
        if (row[column]) size = std::max(size, row[column]->size());
    return std::max<std::size_t>(size, stmt->result.columns[column].integer ? 11 : 255);
}

// Moves a value into a C buffer of the given type; SQL_SUCCESS_WITH_INFO when text was cut.
SQLRETURN Convert(Stmt* stmt, const std::optional<std::string>& value, std::size_t& offset, bool& done,
                  SQLSMALLINT type, SQLPOINTER target, SQLLEN length, SQLLEN* indicator) {
    if (done) return SQL_NO_DATA;
    if (!value) {
        if (!indicator) return stmt->Fail("22002", "Indicator variable required but not supplied");
        *indicator = SQL_NULL_DATA;
        done = true;
        return SQL_SUCCESS;
    }
    const std::string& text = *value;
    switch (type) {
        case SQL_C_CHAR:
        case SQL_C_DEFAULT:
        case SQL_C_BINARY: {
            std::size_t remaining = text.size() - std::min(offset, text.size());
            if (indicator) *indicator = static_cast<SQLLEN>(remaining);
            const std::size_t zero = type == SQL_C_BINARY ? 0 : 1;
            if (!target || length < static_cast<SQLLEN>(zero)) {
                if (remaining == 0 && zero == 0) done = true;
                return stmt->Info("01004", "String data, right truncated");
            }
            std::size_t room = static_cast<std::size_t>(length) - zero;
            std::size_t fit = std::min(remaining, room);
            std::memcpy(target, text.data() + offset, fit);
            if (zero) static_cast<char*>(target)[fit] = '\0';
            offset += fit;
            if (fit < remaining) return stmt->Info("01004", "String data, right truncated");
            done = true;
            return SQL_SUCCESS;
        }
        case SQL_C_WCHAR: {
            std::size_t remaining = text.size() - std::min(offset, text.size());
            if (indicator) *indicator = static_cast<SQLLEN>(remaining * sizeof(SQLWCHAR));
            std::size_t room = length >= static_cast<SQLLEN>(sizeof(SQLWCHAR))
                                   ? static_cast<std::size_t>(length) / sizeof(SQLWCHAR) - 1
                                   : 0;
            if (!target || length < static_cast<SQLLEN>(sizeof(SQLWCHAR)))
                return stmt->Info("01004", "String data, right truncated");
            std::size_t fit = std::min(remaining, room);
            auto* out = static_cast<SQLWCHAR*>(target);
            for (std::size_t i = 0; i < fit; ++i) out[i] = static_cast<unsigned char>(text[offset + i]);
            out[fit] = 0;
            offset += fit;
            if (fit < remaining) return stmt->Info("01004", "String data, right truncated");
            done = true;
            return SQL_SUCCESS;
        }
        case SQL_C_LONG:
        case SQL_C_SLONG:
        case SQL_C_ULONG:
        case SQL_C_SHORT:
        case SQL_C_SSHORT:
        case SQL_C_USHORT:
        case SQL_C_SBIGINT:
        case SQL_C_UBIGINT:
        case SQL_C_DOUBLE: {
            char* end = nullptr;
            double number = std::strtod(text.c_str(), &end);
            if (end == text.c_str()) return stmt->Fail("22018", "Invalid character value for cast");
            done = true;
            if (!target) return SQL_SUCCESS;
            if (type == SQL_C_DOUBLE) {
                *static_cast<double*>(target) = number;
                if (indicator) *indicator = sizeof(double);
            } else if (type == SQL_C_SBIGINT || type == SQL_C_UBIGINT) {
                *static_cast<long long*>(target) = static_cast<long long>(number);
                if (indicator) *indicator = sizeof(long long);
            } else if (type == SQL_C_SHORT || type == SQL_C_SSHORT || type == SQL_C_USHORT) {
                *static_cast<SQLSMALLINT*>(target) = static_cast<SQLSMALLINT>(number);
                if (indicator) *indicator = sizeof(SQLSMALLINT);
            } else {
                *static_cast<SQLINTEGER*>(target) = static_cast<SQLINTEGER>(number);
                if (indicator) *indicator = sizeof(SQLINTEGER);
            }
            return SQL_SUCCESS;
        }
        default:
            return stmt->Fail("HYC00", "Optional feature not implemented: C type " + std::to_string(type));
    }
}

SQLRETURN Fetch(Stmt* stmt) {
    stmt->Clear();
    if (!stmt->cursorOpen) return stmt->Fail("24000", "Invalid cursor state");
    if (stmt->rowsFetched) *stmt->rowsFetched = 0;
    if (stmt->row >= stmt->result.rows.size()) {
        stmt->row = stmt->result.rows.size() + 1;
        return SQL_NO_DATA;
    }
    ++stmt->row;
    std::fill(stmt->readOffset.begin(), stmt->readOffset.end(), 0);
    std::fill(stmt->readDone.begin(), stmt->readDone.end(), false);
    if (stmt->rowsFetched) *stmt->rowsFetched = 1;
    if (stmt->rowStatus) *stmt->rowStatus = SQL_ROW_SUCCESS;
    SQLRETURN rc = SQL_SUCCESS;
    const auto& row = stmt->result.rows[stmt->row - 1];
    for (auto& [column, binding] : stmt->bindings) {
        if (column < 1 || column > row.size()) continue;
        std::size_t offset = 0;
        bool done = false;
        SQLRETURN got = Convert(stmt, row[column - 1], offset, done, binding.type, binding.target, binding.length,
                                binding.indicator);
        if (got == SQL_ERROR) return SQL_ERROR;
        if (got == SQL_SUCCESS_WITH_INFO) rc = got;
    }
    if (rc == SQL_SUCCESS_WITH_INFO && stmt->rowStatus) *stmt->rowStatus = SQL_ROW_SUCCESS_WITH_INFO;
    return rc;
}

// ---- information ---------------------------------------------------------------------------------------------

const SQLUSMALLINT kFunctions[] = {
    SQL_API_SQLALLOCHANDLE,   SQL_API_SQLALLOCENV,     SQL_API_SQLALLOCCONNECT,   SQL_API_SQLALLOCSTMT,
    SQL_API_SQLFREEHANDLE,    SQL_API_SQLFREEENV,      SQL_API_SQLFREECONNECT,    SQL_API_SQLFREESTMT,
    SQL_API_SQLSETENVATTR,    SQL_API_SQLGETENVATTR,   SQL_API_SQLCONNECT,        SQL_API_SQLDRIVERCONNECT,
    SQL_API_SQLDISCONNECT,    SQL_API_SQLEXECDIRECT,   SQL_API_SQLPREPARE,        SQL_API_SQLEXECUTE,
    SQL_API_SQLNUMPARAMS,     SQL_API_SQLFETCH,        SQL_API_SQLFETCHSCROLL,    SQL_API_SQLGETDATA,
    SQL_API_SQLNUMRESULTCOLS, SQL_API_SQLROWCOUNT,     SQL_API_SQLDESCRIBECOL,    SQL_API_SQLCOLATTRIBUTE,
    SQL_API_SQLBINDCOL,       SQL_API_SQLGETDIAGREC,   SQL_API_SQLGETDIAGFIELD,   SQL_API_SQLERROR,
    SQL_API_SQLGETINFO,       SQL_API_SQLGETFUNCTIONS, SQL_API_SQLSETCONNECTATTR, SQL_API_SQLGETCONNECTATTR,
    SQL_API_SQLSETSTMTATTR,   SQL_API_SQLGETSTMTATTR,  SQL_API_SQLENDTRAN,        SQL_API_SQLTRANSACT,
    SQL_API_SQLCLOSECURSOR,   SQL_API_SQLMORERESULTS,  SQL_API_SQLCANCEL,         SQL_API_SQLNATIVESQL,
};

struct InfoValue {
    enum Kind { kText, kSmall, kInteger } kind;
    std::string text;
    SQLUINTEGER number = 0;
};

std::optional<InfoValue> InfoFor(const Dbc* dbc, SQLUSMALLINT type) {
    const bool interbase = dbc->connection && dbc->connection->kind() == Connection::Kind::kInterBase;
    auto text = [](std::string t) { return InfoValue{InfoValue::kText, std::move(t)}; };
    auto small = [](SQLUINTEGER n) { return InfoValue{InfoValue::kSmall, {}, n}; };
    auto integer = [](SQLUINTEGER n) { return InfoValue{InfoValue::kInteger, {}, n}; };
    switch (type) {
        case SQL_DRIVER_ODBC_VER:
            return text("03.00");
        case SQL_ODBC_VER:
            return text("03.52.0000");
        case SQL_DRIVER_NAME:
            return text("libstandin_odbc.so");
        case SQL_DRIVER_VER:
            return text("01.00.0000");
        case SQL_DBMS_NAME:
            return text(interbase ? "InterBase" : "Microsoft SQL Server");
        case SQL_DBMS_VER:
            return text(interbase ? "06.00.0000" : "09.00.5000");
        case SQL_DATA_SOURCE_NAME:
            return text("");
        case SQL_SERVER_NAME:
            return text(dbc->connection ? dbc->connection->server() : "");
        case SQL_DATABASE_NAME:
            return text(dbc->connection ? dbc->connection->database() : "");
        case SQL_USER_NAME:
            return text(dbc->connection ? dbc->connection->user() : "");
        case SQL_IDENTIFIER_QUOTE_CHAR:
            return text("\"");
        case SQL_DATA_SOURCE_READ_ONLY:
            return text("N");
        case SQL_SEARCH_PATTERN_ESCAPE:
            return text("\\");
        case SQL_CATALOG_NAME_SEPARATOR:
            return text(".");
        case SQL_CATALOG_TERM:
            return text("database");
        case SQL_SCHEMA_TERM:
            return text("owner");
        case SQL_TABLE_TERM:
            return text("table");
        case SQL_PROCEDURE_TERM:
            return text("stored procedure");
        case SQL_ACCESSIBLE_TABLES:
            return text("Y");
        case SQL_ACCESSIBLE_PROCEDURES:
            return text("N");
        case SQL_COLUMN_ALIAS:
            return text("Y");
        case SQL_LIKE_ESCAPE_CLAUSE:
            return text("Y");
        case SQL_MULT_RESULT_SETS:
            return text("N");
        case SQL_MULTIPLE_ACTIVE_TXN:
            return text("Y");
        case SQL_NEED_LONG_DATA_LEN:
            return text("N");
        case SQL_ORDER_BY_COLUMNS_IN_SELECT:
            return text("N");
        case SQL_EXPRESSIONS_IN_ORDERBY:
            return text("Y");
        case SQL_OUTER_JOINS:
            return text("Y");
        case SQL_PROCEDURES:
            return text("N");
        case SQL_ROW_UPDATES:
            return text("N");
        case SQL_DESCRIBE_PARAMETER:
            return text("N");
        case SQL_INTEGRITY:
            return text("N");
        case SQL_MAX_ROW_SIZE_INCLUDES_LONG:
            return text("N");
        case SQL_CATALOG_NAME:
            return text("Y");
        case SQL_COLLATION_SEQ:
            return text("");
        case SQL_KEYWORDS:
            return text("");
        case SQL_XOPEN_CLI_YEAR:
            return text("1995");
        case SQL_MAX_CONCURRENT_ACTIVITIES:
            return small(0);
        case SQL_MAX_DRIVER_CONNECTIONS:
            return small(0);
        case SQL_CURSOR_COMMIT_BEHAVIOR:
            return small(SQL_CB_PRESERVE);
        case SQL_CURSOR_ROLLBACK_BEHAVIOR:
            return small(SQL_CB_PRESERVE);
        case SQL_TXN_CAPABLE:
            return small(SQL_TC_NONE);
        case SQL_CONCAT_NULL_BEHAVIOR:
            return small(SQL_CB_NULL);
        case SQL_IDENTIFIER_CASE:
            return small(SQL_IC_MIXED);
        case SQL_QUOTED_IDENTIFIER_CASE:
            return small(SQL_IC_MIXED);
        case SQL_NON_NULLABLE_COLUMNS:
            return small(SQL_NNC_NON_NULL);
        case SQL_NULL_COLLATION:
            return small(SQL_NC_LOW);
        case SQL_CORRELATION_NAME:
            return small(SQL_CN_ANY);
        case SQL_FILE_USAGE:
            return small(SQL_FILE_NOT_SUPPORTED);
        case SQL_GROUP_BY:
            return small(SQL_GB_GROUP_BY_CONTAINS_SELECT);
        case SQL_CATALOG_LOCATION:
            return small(SQL_CL_START);
        case SQL_ODBC_API_CONFORMANCE:
            return small(SQL_OAC_LEVEL1);
        case SQL_ODBC_SQL_CONFORMANCE:
            return small(SQL_OSC_CORE);
        case SQL_ODBC_SAG_CLI_CONFORMANCE:
            return small(SQL_OSCC_COMPLIANT);
        case SQL_MAX_COLUMN_NAME_LEN:
        case SQL_MAX_TABLE_NAME_LEN:
        case SQL_MAX_SCHEMA_NAME_LEN:
        case SQL_MAX_CATALOG_NAME_LEN:
        case SQL_MAX_CURSOR_NAME_LEN:
        case SQL_MAX_PROCEDURE_NAME_LEN:
        case SQL_MAX_IDENTIFIER_LEN:
            return small(128);
        case SQL_MAX_COLUMNS_IN_GROUP_BY:
        case SQL_MAX_COLUMNS_IN_INDEX:
        case SQL_MAX_COLUMNS_IN_ORDER_BY:
        case SQL_MAX_COLUMNS_IN_SELECT:
        case SQL_MAX_COLUMNS_IN_TABLE:
        case SQL_MAX_TABLES_IN_SELECT:
        case SQL_MAX_USER_NAME_LEN:
            return small(0);
        case SQL_GETDATA_EXTENSIONS:
            return integer(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND);
        case SQL_SCROLL_OPTIONS:
            return integer(SQL_SO_FORWARD_ONLY);
        case SQL_ODBC_INTERFACE_CONFORMANCE:
            return integer(SQL_OIC_CORE);
        case SQL_DEFAULT_TXN_ISOLATION:
            return integer(SQL_TXN_READ_COMMITTED);
        case SQL_TXN_ISOLATION_OPTION:
            return integer(SQL_TXN_READ_COMMITTED);
        case SQL_ASYNC_MODE:
            return integer(SQL_AM_NONE);
        case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS:
            return integer(0);
        case SQL_CURSOR_SENSITIVITY:
            return integer(SQL_INSENSITIVE);
        case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1:
            return integer(SQL_CA1_NEXT);
        case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2:
            return integer(SQL_CA2_READ_ONLY_CONCURRENCY);
        case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
        case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
        case SQL_KEYSET_CURSOR_ATTRIBUTES1:
        case SQL_KEYSET_CURSOR_ATTRIBUTES2:
        case SQL_STATIC_CURSOR_ATTRIBUTES1:
        case SQL_STATIC_CURSOR_ATTRIBUTES2:
        case SQL_BOOKMARK_PERSISTENCE:
        case SQL_POS_OPERATIONS:
        case SQL_STATIC_SENSITIVITY:
        case SQL_LOCK_TYPES:
        case SQL_BATCH_SUPPORT:
        case SQL_BATCH_ROW_COUNT:
        case SQL_PARAM_ARRAY_ROW_COUNTS:
        case SQL_PARAM_ARRAY_SELECTS:
        case SQL_MAX_STATEMENT_LEN:
        case SQL_MAX_ROW_SIZE:
        case SQL_MAX_CHAR_LITERAL_LEN:
        case SQL_MAX_BINARY_LITERAL_LEN:
        case SQL_MAX_INDEX_SIZE:
            return integer(0);
        case SQL_SQL_CONFORMANCE:
            return integer(SQL_SC_SQL92_ENTRY);
        default:
            return std::nullopt;
    }
}

}  // namespace

// ---- exported entry points -----------------------------------------------------------------------------------

STANDIN_EXPORT SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
    return AllocHandle(type, input, output);
}

STANDIN_EXPORT SQLRETURN SQL_API SQLAllocEnv(SQLHENV* env) { return AllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, env); }

STANDIN_EXPORT SQLRETURN SQL_API SQLAllocConnect(SQLHENV env, SQLHDBC* dbc) {
    return AllocHandle(SQL_HANDLE_DBC, env, dbc);
}

STANDIN_EXPORT SQLRETURN SQL_API SQLAllocStmt(SQLHDBC dbc, SQLHSTMT* stmt) {
    return AllocHandle(SQL_HANDLE_STMT, dbc, stmt);
}

STANDIN_EXPORT SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) { return FreeHandle(type, handle); }

STANDIN_EXPORT SQLRETURN SQL_API SQLFreeEnv(SQLHENV env) { return FreeHandle(SQL_HANDLE_ENV, env); }

STANDIN_EXPORT SQLRETURN SQL_API SQLFreeConnect(SQLHDBC dbc) { return FreeHandle(SQL_HANDLE_DBC, dbc); }

STANDIN_EXPORT SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    switch (option) {
        case SQL_DROP:
            return FreeHandle(SQL_HANDLE_STMT, stmt);
        case SQL_CLOSE:
            stmt->CloseCursor();
            return SQL_SUCCESS;
        case SQL_UNBIND:
            stmt->bindings.clear();
            return SQL_SUCCESS;
        case SQL_RESET_PARAMS:
            return SQL_SUCCESS;
        default:
            return stmt->Fail("HY092", "Invalid attribute/option identifier");
    }
}

STANDIN_EXPORT SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
    Env* env = As<Env>(handle, kEnvMagic);
    if (!env) return SQL_INVALID_HANDLE;
    env->Clear();
    if (attribute == SQL_ATTR_ODBC_VERSION) env->odbcVersion = static_cast<SQLINTEGER>(reinterpret_cast<SQLLEN>(value));
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                               SQLINTEGER* length) {
    Env* env = As<Env>(handle, kEnvMagic);
    if (!env) return SQL_INVALID_HANDLE;
    env->Clear();
    SQLINTEGER answer = 0;
    if (attribute == SQL_ATTR_ODBC_VERSION) answer = env->odbcVersion;
    if (attribute == SQL_ATTR_OUTPUT_NTS) answer = SQL_TRUE;
    if (value) *static_cast<SQLINTEGER*>(value) = answer;
    if (length) *length = sizeof(SQLINTEGER);
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR* in, SQLSMALLINT inLength,
                                                  SQLCHAR* out, SQLSMALLINT outMax, SQLSMALLINT* outLength,
                                                  SQLUSMALLINT) {
    Dbc* dbc = As<Dbc>(handle, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    std::string text = Text(in, inLength);
    SQLRETURN rc = Connect(dbc, text);
    if (rc != SQL_SUCCESS) return rc;
    if (CopyText(text, out, outMax, outLength) && out) return dbc->Info("01004", "String data, right truncated");
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR* user,
                                            SQLSMALLINT userLength, SQLCHAR* password, SQLSMALLINT passwordLength) {
    Dbc* dbc = As<Dbc>(handle, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    // The data source's keys come from odbc.ini; the user and password given here win over its own.
    const std::string source = Text(dsn, dsnLength);
    auto key = [&](const char* name) {
        char value[1024] = {};
        SQLGetPrivateProfileString(source.c_str(), name, "", value, sizeof value, "odbc.ini");
        return std::string(value);
    };
    const std::string login = Text(user, userLength), secret = Text(password, passwordLength);
    using platform::ConnectValue;
    return Connect(dbc, "DSN=" + ConnectValue(source) + ";Driver=" + ConnectValue(key("Driver")) +
                            ";Server=" + ConnectValue(key("Server")) + ";Database=" + ConnectValue(key("Database")) +
                            ";Uid=" + ConnectValue(login.empty() ? key("Uid") : login) +
                            ";Pwd=" + ConnectValue(secret.empty() ? key("Pwd") : secret) + ";");
}

STANDIN_EXPORT SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
    Dbc* dbc = As<Dbc>(handle, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    dbc->Clear();
    if (!dbc->connection) return dbc->Fail("08003", "Connection not open");
    dbc->connection.reset();
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    return Run(stmt, Text(text, length));
}

STANDIN_EXPORT SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    stmt->CloseCursor();
    stmt->prepared = Text(text, length);
    stmt->hasPrepared = true;
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLExecute(SQLHSTMT handle) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    if (!stmt->hasPrepared) {
        stmt->Clear();
        return stmt->Fail("HY010", "Function sequence error");
    }
    return Run(stmt, stmt->prepared);
}

STANDIN_EXPORT SQLRETURN SQL_API SQLNumParams(SQLHSTMT handle, SQLSMALLINT* count) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    if (count) *count = 0;
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    return Fetch(stmt);
}

STANDIN_EXPORT SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT handle, SQLSMALLINT orientation, SQLLEN) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    if (orientation != SQL_FETCH_NEXT) {
        stmt->Clear();
        return stmt->Fail("HY106", "Fetch type out of range");
    }
    return Fetch(stmt);
}

STANDIN_EXPORT SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT type, SQLPOINTER target,
                                            SQLLEN length, SQLLEN* indicator) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    if (!stmt->cursorOpen || stmt->row == 0 || stmt->row > stmt->result.rows.size())
        return stmt->Fail("24000", "Invalid cursor state");
    if (column < 1 || column > stmt->result.columns.size()) return stmt->Fail("07009", "Invalid descriptor index");
    std::size_t c = column - 1u;
    bool done = stmt->readDone[c];
    SQLRETURN rc =
        Convert(stmt, stmt->result.rows[stmt->row - 1][c], stmt->readOffset[c], done, type, target, length, indicator);
    stmt->readDone[c] = done;
    return rc;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    if (count) *count = static_cast<SQLSMALLINT>(stmt->cursorOpen ? stmt->result.columns.size() : 0);
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    if (count) *count = static_cast<SQLLEN>(stmt->result.rowCount);
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT max,
                                                SQLSMALLINT* nameLength, SQLSMALLINT* dataType, SQLULEN* size,
                                                SQLSMALLINT* digits, SQLSMALLINT* nullable) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    if (!stmt->cursorOpen) return stmt->Fail("07005", "The statement has no result set");
    if (column < 1 || column > stmt->result.columns.size()) return stmt->Fail("07009", "Invalid descriptor index");
    const standin::Column& info = stmt->result.columns[column - 1u];
    if (dataType) *dataType = info.integer ? SQL_INTEGER : SQL_VARCHAR;
    if (size) *size = info.integer ? 10 : DisplaySize(stmt, column - 1u);
    if (digits) *digits = 0;
    if (nullable) *nullable = SQL_NULLABLE_UNKNOWN;
    if (CopyText(info.name, name, max, nameLength) && name) return stmt->Info("01004", "String data, right truncated");
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                                 SQLPOINTER text, SQLSMALLINT max, SQLSMALLINT* textLength,
                                                 SQLLEN* number) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    if (!stmt->cursorOpen) return stmt->Fail("07005", "The statement has no result set");
    if (field == SQL_DESC_COUNT) {
        if (number) *number = static_cast<SQLLEN>(stmt->result.columns.size());
        return SQL_SUCCESS;
    }
    if (column < 1 || column > stmt->result.columns.size()) return stmt->Fail("07009", "Invalid descriptor index");
    const standin::Column& info = stmt->result.columns[column - 1u];
    std::optional<std::string> answer;
    SQLLEN value = 0;
    switch (field) {
        case SQL_DESC_NAME:
        case SQL_DESC_LABEL:
        case SQL_DESC_BASE_COLUMN_NAME:
        case SQL_COLUMN_NAME:
            answer = info.name;
            break;
        case SQL_DESC_TABLE_NAME:
        case SQL_DESC_BASE_TABLE_NAME:
        case SQL_DESC_SCHEMA_NAME:
        case SQL_DESC_CATALOG_NAME:
        case SQL_DESC_LITERAL_PREFIX:
        case SQL_DESC_LITERAL_SUFFIX:
        case SQL_DESC_LOCAL_TYPE_NAME:
            answer = "";
            break;
        case SQL_DESC_TYPE_NAME:
            answer = info.integer ? "int" : "varchar";
            break;
        case SQL_DESC_TYPE:
        case SQL_DESC_CONCISE_TYPE:
            value = info.integer ? SQL_INTEGER : SQL_VARCHAR;
            break;
        case SQL_DESC_LENGTH:
        case SQL_DESC_OCTET_LENGTH:
        case SQL_DESC_DISPLAY_SIZE:
        case SQL_DESC_PRECISION:
        case SQL_COLUMN_LENGTH:
        case SQL_COLUMN_PRECISION:
            value = static_cast<SQLLEN>(info.integer ? 10 : DisplaySize(stmt, column - 1u));
            break;
        case SQL_DESC_NULLABLE:
        case SQL_COLUMN_NULLABLE:
            value = SQL_NULLABLE_UNKNOWN;
            break;
        case SQL_DESC_SEARCHABLE:
            value = SQL_PRED_SEARCHABLE;
            break;
        case SQL_DESC_UPDATABLE:
            value = SQL_ATTR_READONLY;
            break;
        case SQL_DESC_NUM_PREC_RADIX:
            value = info.integer ? 10 : 0;
            break;
        default:
            value = 0;
    }
    if (answer) {
        if (CopyText(*answer, text, max, textLength) && text)
            return stmt->Info("01004", "String data, right truncated");
    } else if (number) {
        *number = value;
    }
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT type, SQLPOINTER target,
                                            SQLLEN length, SQLLEN* indicator) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    if (column < 1) return stmt->Fail("07009", "Invalid descriptor index");
    if (!target && !indicator) {
        stmt->bindings.erase(column);
    } else {
        stmt->bindings[column] = Binding{type, target, length, indicator};
    }
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, SQLCHAR* state,
                                               SQLINTEGER* native, SQLCHAR* message, SQLSMALLINT max,
                                               SQLSMALLINT* length) {
    HandleBase* base = Base(type, handle);
    if (!base) return SQL_INVALID_HANDLE;
    if (record < 1) return SQL_ERROR;
    if (static_cast<std::size_t>(record) > base->diag.records.size()) return SQL_NO_DATA;
    const Diagnostic& diag = base->diag.records[static_cast<std::size_t>(record) - 1];
    if (state) CopyText<SQLSMALLINT>(diag.state, state, SQL_SQLSTATE_SIZE + 1, nullptr);
    if (native) *native = diag.native;
    return CopyText(diag.message, message, max, length) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                                 SQLSMALLINT field, SQLPOINTER info, SQLSMALLINT max,
                                                 SQLSMALLINT* length) {
    HandleBase* base = Base(type, handle);
    if (!base) return SQL_INVALID_HANDLE;
    const Diagnostics& diag = base->diag;
    auto text = [&](const std::string& value) {
        return CopyText(value, info, max, length) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
    };
    if (record == 0) {
        switch (field) {
            case SQL_DIAG_NUMBER:
                if (info) *static_cast<SQLINTEGER*>(info) = static_cast<SQLINTEGER>(diag.records.size());
                return SQL_SUCCESS;
            case SQL_DIAG_RETURNCODE:
                if (info) *static_cast<SQLRETURN*>(info) = diag.returnCode;
                return SQL_SUCCESS;
            case SQL_DIAG_ROW_COUNT:
            case SQL_DIAG_CURSOR_ROW_COUNT: {
                const Stmt* stmt = type == SQL_HANDLE_STMT ? static_cast<const Stmt*>(base) : nullptr;
                if (info) *static_cast<SQLLEN*>(info) = stmt ? static_cast<SQLLEN>(stmt->result.rowCount) : 0;
                return SQL_SUCCESS;
            }
            case SQL_DIAG_DYNAMIC_FUNCTION:
                return text("");
            case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
                if (info) *static_cast<SQLINTEGER*>(info) = SQL_DIAG_UNKNOWN_STATEMENT;
                return SQL_SUCCESS;
            default:
                return SQL_ERROR;
        }
    }
    if (record < 0) return SQL_ERROR;
    if (static_cast<std::size_t>(record) > diag.records.size()) return SQL_NO_DATA;
    const Diagnostic& entry = diag.records[static_cast<std::size_t>(record) - 1];
    switch (field) {
        case SQL_DIAG_SQLSTATE:
            return text(entry.state);
        case SQL_DIAG_NATIVE:
            if (info) *static_cast<SQLINTEGER*>(info) = entry.native;
            return SQL_SUCCESS;
        case SQL_DIAG_MESSAGE_TEXT:
            return text(entry.message);
        case SQL_DIAG_CLASS_ORIGIN:
        case SQL_DIAG_SUBCLASS_ORIGIN:
            return text(entry.state.starts_with("IM") ? "ODBC 3.0" : "ISO 9075");
        case SQL_DIAG_CONNECTION_NAME:
            return text("");
        case SQL_DIAG_SERVER_NAME: {
            const Dbc* dbc = type == SQL_HANDLE_DBC    ? static_cast<const Dbc*>(base)
                             : type == SQL_HANDLE_STMT ? static_cast<const Stmt*>(base)->dbc
                                                       : nullptr;
            return text(dbc && dbc->connection ? dbc->connection->server() : "");
        }
        case SQL_DIAG_COLUMN_NUMBER:
            if (info) *static_cast<SQLINTEGER*>(info) = SQL_NO_COLUMN_NUMBER;
            return SQL_SUCCESS;
        case SQL_DIAG_ROW_NUMBER:
            if (info) *static_cast<SQLLEN*>(info) = SQL_NO_ROW_NUMBER;
            return SQL_SUCCESS;
        default:
            return SQL_ERROR;
    }
}

STANDIN_EXPORT SQLRETURN SQL_API SQLError(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLCHAR* state, SQLINTEGER* native,
                                          SQLCHAR* message, SQLSMALLINT max, SQLSMALLINT* length) {
    HandleBase* base = stmt ? Base(SQL_HANDLE_STMT, stmt) : dbc ? Base(SQL_HANDLE_DBC, dbc) : Base(SQL_HANDLE_ENV, env);
    if (!base) return SQL_INVALID_HANDLE;
    Diagnostics& diag = base->diag;
    if (diag.errorCursor >= diag.records.size()) return SQL_NO_DATA;
    const Diagnostic& entry = diag.records[diag.errorCursor++];
    if (state) CopyText<SQLSMALLINT>(entry.state, state, SQL_SQLSTATE_SIZE + 1, nullptr);
    if (native) *native = entry.native;
    return CopyText(entry.message, message, max, length) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT max,
                                            SQLSMALLINT* length) {
    Dbc* dbc = As<Dbc>(handle, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    dbc->Clear();
    std::optional<InfoValue> info = InfoFor(dbc, type);
    if (!info) return dbc->Fail("HY096", "Information type out of range");
    switch (info->kind) {
        case InfoValue::kText:
            if (CopyText(info->text, value, max, length) && value)
                return dbc->Info("01004", "String data, right truncated");
            return SQL_SUCCESS;
        case InfoValue::kSmall:
            if (value) *static_cast<SQLUSMALLINT*>(value) = static_cast<SQLUSMALLINT>(info->number);
            if (length) *length = sizeof(SQLUSMALLINT);
            return SQL_SUCCESS;
        case InfoValue::kInteger:
            if (value) *static_cast<SQLUINTEGER*>(value) = info->number;
            if (length) *length = sizeof(SQLUINTEGER);
            return SQL_SUCCESS;
    }
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT function, SQLUSMALLINT* supported) {
    Dbc* dbc = As<Dbc>(handle, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    dbc->Clear();
    if (!supported) return SQL_SUCCESS;
    if (function == SQL_API_ODBC3_ALL_FUNCTIONS) {
        std::fill(supported, supported + SQL_API_ODBC3_ALL_FUNCTIONS_SIZE, SQLUSMALLINT{0});
        for (SQLUSMALLINT f : kFunctions)
            supported[f >> 4] = static_cast<SQLUSMALLINT>(supported[f >> 4] | (1u << (f & 0x000F)));
    } else if (function == SQL_API_ALL_FUNCTIONS) {
        std::fill(supported, supported + 100, SQLUSMALLINT{0});
        for (SQLUSMALLINT f : kFunctions)
            if (f < 100) supported[f] = SQL_TRUE;
    } else {
        *supported = std::find(std::begin(kFunctions), std::end(kFunctions), function) != std::end(kFunctions)
                         ? SQL_TRUE
                         : SQL_FALSE;
    }
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
    Dbc* dbc = As<Dbc>(handle, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    dbc->Clear();
    dbc->attributes[attribute] = reinterpret_cast<SQLULEN>(value);
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                                   SQLINTEGER max, SQLINTEGER* length) {
    Dbc* dbc = As<Dbc>(handle, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    dbc->Clear();
    if (attribute == SQL_ATTR_CURRENT_CATALOG) {
        std::string name = dbc->connection ? dbc->connection->database() : "";
        if (CopyText(name, value, max, length) && value) return dbc->Info("01004", "String data, right truncated");
        return SQL_SUCCESS;
    }
    SQLUINTEGER answer = 0;
    if (auto it = dbc->attributes.find(attribute); it != dbc->attributes.end()) {
        answer = static_cast<SQLUINTEGER>(it->second);
    } else if (attribute == SQL_ATTR_AUTOCOMMIT) {
        answer = SQL_AUTOCOMMIT_ON;
    } else if (attribute == SQL_ATTR_CONNECTION_DEAD) {
        answer = dbc->connection ? SQL_CD_FALSE : SQL_CD_TRUE;
    } else if (attribute == SQL_ATTR_ACCESS_MODE) {
        answer = SQL_MODE_READ_WRITE;
    } else if (attribute == SQL_ATTR_TXN_ISOLATION) {
        answer = SQL_TXN_READ_COMMITTED;
    }
    if (attribute == SQL_ATTR_CONNECTION_DEAD) answer = dbc->connection ? SQL_CD_FALSE : SQL_CD_TRUE;
    if (value) *static_cast<SQLUINTEGER*>(value) = answer;
    if (length) *length = sizeof(SQLUINTEGER);
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    const SQLULEN number = reinterpret_cast<SQLULEN>(value);
    switch (attribute) {
        case SQL_ATTR_ROWS_FETCHED_PTR:
            stmt->rowsFetched = static_cast<SQLULEN*>(value);
            return SQL_SUCCESS;
        case SQL_ATTR_ROW_STATUS_PTR:
            stmt->rowStatus = static_cast<SQLUSMALLINT*>(value);
            return SQL_SUCCESS;
        case SQL_ATTR_ROW_ARRAY_SIZE:
            if (number != 1) return stmt->Info("01S02", "Option value changed: one row per fetch");
            return SQL_SUCCESS;
        case SQL_ATTR_CURSOR_TYPE:
            if (number != SQL_CURSOR_FORWARD_ONLY) return stmt->Info("01S02", "Option value changed: forward-only");
            return SQL_SUCCESS;
        case SQL_ATTR_CONCURRENCY:
            if (number != SQL_CONCUR_READ_ONLY) return stmt->Info("01S02", "Option value changed: read-only");
            return SQL_SUCCESS;
        default:
            stmt->attributes[attribute] = number;
            return SQL_SUCCESS;
    }
}

STANDIN_EXPORT SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                                SQLINTEGER* length) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    SQLULEN answer = 0;
    switch (attribute) {
        case SQL_ATTR_APP_ROW_DESC:
        case SQL_ATTR_APP_PARAM_DESC:
        case SQL_ATTR_IMP_ROW_DESC:
        case SQL_ATTR_IMP_PARAM_DESC: {
            int index = attribute == SQL_ATTR_APP_ROW_DESC     ? 0
                        : attribute == SQL_ATTR_APP_PARAM_DESC ? 1
                        : attribute == SQL_ATTR_IMP_ROW_DESC   ? 2
                                                               : 3;
            if (value) *static_cast<SQLPOINTER*>(value) = &stmt->descriptors[index];
            if (length) *length = sizeof(SQLPOINTER);
            return SQL_SUCCESS;
        }
        case SQL_ATTR_ROWS_FETCHED_PTR:
            answer = reinterpret_cast<SQLULEN>(stmt->rowsFetched);
            break;
        case SQL_ATTR_ROW_STATUS_PTR:
            answer = reinterpret_cast<SQLULEN>(stmt->rowStatus);
            break;
        case SQL_ATTR_ROW_ARRAY_SIZE:
            answer = 1;
            break;
        case SQL_ATTR_CURSOR_TYPE:
            answer = SQL_CURSOR_FORWARD_ONLY;
            break;
        case SQL_ATTR_CONCURRENCY:
            answer = SQL_CONCUR_READ_ONLY;
            break;
        case SQL_ATTR_ROW_NUMBER:
            answer = stmt->row;
            break;
        default:
            if (auto it = stmt->attributes.find(attribute); it != stmt->attributes.end()) answer = it->second;
    }
    if (value) *static_cast<SQLULEN*>(value) = answer;
    if (length) *length = sizeof(SQLULEN);
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT) {
    HandleBase* base = Base(type, handle);
    if (!base) return SQL_INVALID_HANDLE;
    base->Clear();
    return SQL_SUCCESS;  // every statement commits by itself
}

STANDIN_EXPORT SQLRETURN SQL_API SQLTransact(SQLHENV env, SQLHDBC dbc, SQLUSMALLINT) {
    HandleBase* base = dbc ? Base(SQL_HANDLE_DBC, dbc) : Base(SQL_HANDLE_ENV, env);
    if (!base) return SQL_INVALID_HANDLE;
    base->Clear();
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    if (!stmt->cursorOpen) return stmt->Fail("24000", "Invalid cursor state");
    stmt->CloseCursor();
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    stmt->CloseCursor();
    return SQL_NO_DATA;  // one result per statement
}

STANDIN_EXPORT SQLRETURN SQL_API SQLCancel(SQLHSTMT handle) {
    Stmt* stmt = As<Stmt>(handle, kStmtMagic);
    if (!stmt) return SQL_INVALID_HANDLE;
    stmt->Clear();
    return SQL_SUCCESS;
}

STANDIN_EXPORT SQLRETURN SQL_API SQLNativeSql(SQLHDBC handle, SQLCHAR* in, SQLINTEGER inLength, SQLCHAR* out,
                                              SQLINTEGER max, SQLINTEGER* outLength) {
    Dbc* dbc = As<Dbc>(handle, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    dbc->Clear();
    if (CopyText(Text(in, inLength), out, max, outLength) && out)
        return dbc->Info("01004", "String data, right truncated");
    return SQL_SUCCESS;
}
