// A fake ODBC layer for the tool: SQL Servers (with their catalogue and imaging databases) and InterBase files.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "enrolix/testing/FakeCatalog.h"
#include "platform/Database.h"
#include "platform/fake/MemoryFileSystem.h"

namespace enrolix::test {

// The tables of one imaging database; answers exactly the SQL texts of registration.
class FakeImagingDb {
public:
    struct Patient {
        std::string machineId;
        std::int64_t patientId = 0;
        std::string strPatientId, lastName, firstName, middleName, gender, dob, emrId, ethnicity;
    };
    struct Visit {
        std::string machineId;
        std::int64_t visitId = 0;
        std::string originalId;
        std::int64_t visitTime = 0;
    };
    struct PatientVisit {
        std::string machineId;
        std::int64_t visitId = 0;
        std::int64_t patientId = 0;
    };
    struct Machine {
        int sysId = 0;
        std::optional<std::string> sysName;  // nullopt is NULL
        std::string sysProduct;
    };

    // Unknown SQL, a refused word or a refused insert throws platform::DbError.
    std::vector<std::string> Query(const std::string& sql);
    void Execute(const std::string& sql);

    Patient& AddPatient(const std::string& machineId, std::int64_t patientId, const std::string& lastName,
                        const std::string& firstName, const std::string& dob, const std::string& emrId = "");

    std::vector<Patient> patients;
    std::vector<Visit> visits;
    std::vector<PatientVisit> patientVisits;
    std::vector<Machine> machines;
    std::set<std::string> refusedInserts;  // table names as the insert spells them: "Patient", "VISIT", "PATIENTVISIT"
    std::set<std::string> refusedWords;    // any SQL containing one of these is refused
    std::set<std::string> crashingWords;   // any SQL containing one of these throws something else than DbError
    std::set<std::string> missingTables;   // "SELECT count(*) FROM <table>" of these is refused, as of a missing table
    std::vector<std::string> statements;   // every query and statement received, in order
    std::string (*upper)(std::string_view) = nullptr;  // UPPER() of the columns; nullptr: A to Z only
};

class FakeServer : public platform::IDbDriver {
public:
    struct Server {
        explicit Server(platform::fake::MemoryFileSystem& files) : catalog(files) {}
        std::string password = "tumbleoak";  // of "sa"
        bool up = true;
        bool filesHere = true;  // the server's data files live on this workstation
        FakeCatalog catalog;
    };

    explicit FakeServer(platform::fake::MemoryFileSystem& files) : files_(files) {}

    // name is host\instance, compared without case.
    Server& AddServer(const std::string& name, const std::string& password = "tumbleoak");
    Server& ServerNamed(const std::string& name);
    // Registers "PATIENT" on the server from dataFile (the file is made when the server's files are here).
    FakeImagingDb& ServeImagingDb(const std::string& serverName, const std::string& dataFile);
    // The tables kept in a database file (a PATIENT.mdf or an InterBase PATIENT.ib).
    FakeImagingDb& DatabaseAt(const std::string& dataFile);

    std::unique_ptr<platform::IDbConnection> NewConnection() override;

    std::vector<std::string> opens;  // every connection string an open was tried with
    int openConnections = 0;         // connections open now
    int interBaseOpensFail = 0;      // the next this many InterBase opens fail

private:
    friend class FakeConnection;
    platform::fake::MemoryFileSystem& files_;
    std::map<std::string, Server> servers_;           // by upper-cased name
    std::map<std::string, FakeImagingDb> databases_;  // by normalised file path
};

}  // namespace enrolix::test
