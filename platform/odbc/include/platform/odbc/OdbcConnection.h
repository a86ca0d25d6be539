// The tool's database connection on the ODBC API (ANSI entry points only).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Database.h"

namespace platform::odbc {

// Connection strings may start with "ODBC;", as the MFC framework accepts them; it is removed before connecting.
std::string StripOdbcPrefix(const std::string& connectString);

// The names of the ODBC drivers the driver manager lists for this process's architecture; none when it has no
// environment to give.
std::vector<std::string> InstalledDrivers();

class OdbcConnection : public IDbConnection {
public:
    OdbcConnection();
    ~OdbcConnection() override;
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    bool Open(const std::string& connectString) override;
    bool IsOpen() const override;
    void Close() override;
    void Execute(const std::string& sql) override;
    std::vector<std::string> QueryFirstColumn(const std::string& sql) override;

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
};

class OdbcDriver : public IDbDriver {
public:
    std::unique_ptr<IDbConnection> NewConnection() override;
};

}  // namespace platform::odbc
