// An ODBC connection, as the tool uses it.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// A failed open or statement; carries the driver's diagnostic text.
class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IDbConnection {
public:
    virtual ~IDbConnection() = default;
    // Connects without ever prompting. Returns false, or throws DbError with the driver's text.
    virtual bool Open(const std::string& connectString) = 0;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    // Runs one statement without result; throws DbError when the server refuses it.
    virtual void Execute(const std::string& sql) = 0;
    // Runs a forward-only query and returns column 1 of every row as text (NULL reads empty).
    virtual std::vector<std::string> QueryFirstColumn(const std::string& sql) = 0;
};

class IDbDriver {
public:
    virtual ~IDbDriver() = default;
    virtual std::unique_ptr<IDbConnection> NewConnection() = 0;
};

}  // namespace platform
