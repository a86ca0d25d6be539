// A workstation with a local SQL Server, in memory: platform fakes, the server's catalogue and a tool over them.
#pragma once

#include <memory>
#include <string>

#include "enrolix/core/Log.h"
#include "enrolix/core/Tool.h"
#include "enrolix/testing/FakeCatalog.h"
#include "platform/fake/FakePlatform.h"

namespace enrolix::test {

// Connections that reach only the server-level database and hand its SQL to the catalogue.
class CatalogDriver : public platform::IDbDriver {
public:
    explicit CatalogDriver(FakeCatalog& catalog) : catalog_(catalog) {}

    std::unique_ptr<platform::IDbConnection> NewConnection() override {
        ++connectionsMade;
        return std::make_unique<Connection>(*this);
    }

    bool serverDown = false;
    std::string lastConnectString;
    int connectionsMade = 0;
    int connectionsOpen = 0;

private:
    class Connection : public platform::IDbConnection {
    public:
        explicit Connection(CatalogDriver& driver) : driver_(driver) {}
        ~Connection() override { Close(); }
        bool Open(const std::string& connectString) override {
            driver_.lastConnectString = connectString;
            if (driver_.serverDown) throw platform::DbError("[Microsoft][ODBC SQL Server Driver]Server does not exist");
            if (connectString.find("Database=MASTER;") == std::string::npos) return false;
            if (!open_) ++driver_.connectionsOpen;
            open_ = true;
            return true;
        }
        bool IsOpen() const override { return open_; }
        void Close() override {
            if (open_) --driver_.connectionsOpen;
            open_ = false;
        }
        void Execute(const std::string& sql) override {
            Check(sql);
            driver_.catalog_.Execute(sql);
        }
        std::vector<std::string> QueryFirstColumn(const std::string& sql) override {
            Check(sql);
            return driver_.catalog_.Query(sql);
        }

    private:
        void Check(const std::string& sql) const {
            if (!open_) throw platform::DbError("Connection not open");
            if (!driver_.catalog_.Handles(sql)) throw platform::DbError("Incorrect syntax: " + sql);
        }
        CatalogDriver& driver_;
        bool open_ = false;
    };

    FakeCatalog& catalog_;
};

struct LocalServerSite : platform::fake::FakePlatform {
    static constexpr const char* kLocalFile = "C:\\SCANSUITE\\db_repository\\PATIENT.mdf";
    static constexpr const char* kLocalLog = "C:\\SCANSUITE\\db_repository\\PATIENT_Log.ldf";
    static constexpr const char* kLogPath = "C:\\Orvanta\\Logs\\Enrolix.log";

    LocalServerSite() {
        files.AddFolder("C:\\Orvanta\\Logs");
        files.AddFolder("C:\\SCANSUITE\\db_repository");
    }

    std::string Log() const { return files.Content(kLogPath); }
    std::unique_ptr<platform::IDbConnection> Master() {
        auto connection = driver.NewConnection();
        connection->Open("Driver={SQL Server};Server=localhost\\SQLKOR;Database=MASTER;Uid=sa;Pwd=tumbleoak;");
        return connection;
    }

    FakeCatalog catalog{files};
    CatalogDriver driver{catalog};
    Tool tool{profile, files, boxes, clock, system, driver};
};

}  // namespace enrolix::test
