// One connection of the stand-in: opened from a connection string, runs statements, answers with rows or with
// SQL Server's or InterBase's diagnostics.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "standin/core/Config.h"

struct sqlite3;

namespace standin {

struct Diagnostic {
    std::string state;  // SQLSTATE, five characters
    int native = 0;
    std::string message;
};

// A refused open or statement, with its diagnostic records.
class Failure : public std::runtime_error {
public:
    explicit Failure(std::vector<Diagnostic> records);
    std::vector<Diagnostic> records;
};

struct Column {
    std::string name;
    bool integer = false;
};

struct Result {
    bool hasRows = false;  // the statement produced a result set (possibly empty)
    std::vector<Column> columns;
    std::vector<std::vector<std::optional<std::string>>> rows;
    long long rowCount = -1;  // rows changed by an insert, update or delete
};

// The first value of every key of a connection string (read as platform::ConnectFields reads it), keys
// upper-cased.
std::map<std::string, std::string> ParseConnectString(const std::string& text);
// The connection string with every PWD value written as ***.
std::string MaskPassword(const std::string& text);

class Connection {
public:
    enum class Kind { kSqlServer, kInterBase };

    // Throws Failure when the login, the server or the database is refused.
    static std::unique_ptr<Connection> Open(const std::string& connectString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Throws Failure when the statement is refused.
    Result Execute(const std::string& sql);

    Kind kind() const { return kind_; }
    const std::string& server() const { return server_; }
    const std::string& database() const { return database_; }
    const std::string& user() const { return user_; }

private:
    Connection() = default;
    void OpenSqlServer(const std::map<std::string, std::string>& keys);
    void OpenInterBase(const std::map<std::string, std::string>& keys);
    void OpenFile(const std::string& path, bool allowMissing);
    void Log(const std::string& sql) const;
    void RecordOpen(const std::map<std::string, std::string>& keys, const std::string& masked,
                    const std::string& outcome) const;
    [[noreturn]] void Fail(const Fault& fault) const;
    Result RunCommand(const struct ServerCommand& command);
    void RefreshSysViews();
    Result RunSqlite(const std::string& sql);
    [[noreturn]] void Refuse(const std::string& state, int native, const std::string& message) const;
    std::string Prefix() const;

    Kind kind_ = Kind::kSqlServer;
    Config config_;
    const ServerConfig* serverConfig_ = nullptr;
    std::string server_;    // host\instance as configured, or the InterBase server
    std::string database_;  // database name, or the InterBase file as given
    std::string user_;
    sqlite3* db_ = nullptr;
};

}  // namespace standin
