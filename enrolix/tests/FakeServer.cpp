#include "enrolix/testing/FakeServer.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "enrolix/core/Text.h"
#include "platform/ConnectionString.h"

namespace enrolix::test {
namespace {

using platform::DbError;
using platform::fake::MemoryFileSystem;

// Matches sql against a printf-style form: N'%s' takes a literal (with '' for '), %d an integer, a bare %s
// the text up to the next character of the form. Returns the values, or nullopt when sql has another shape.
std::optional<std::vector<std::string>> Match(const std::string& sql, std::string_view form) {
    std::vector<std::string> values;
    std::size_t at = 0;
    for (std::size_t f = 0; f < form.size();) {
        if (form.substr(f, 5) == "N'%s'") {
            if (sql.compare(at, 2, "N'") != 0) return std::nullopt;
            at += 2;
            std::string value;
            for (;;) {
                if (at >= sql.size()) return std::nullopt;
                if (sql[at] == '\'') {
                    if (at + 1 < sql.size() && sql[at + 1] == '\'') {
                        value += '\'';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                value += sql[at++];
            }
            values.push_back(value);
            f += 5;
        } else if (form.substr(f, 2) == "%d") {
            std::size_t start = at;
            if (at < sql.size() && sql[at] == '-') ++at;
            std::size_t digits = at;
            while (at < sql.size() && std::isdigit(static_cast<unsigned char>(sql[at]))) ++at;
            if (at == digits) return std::nullopt;
            values.push_back(sql.substr(start, at - start));
            f += 2;
        } else if (form.substr(f, 2) == "%s") {
            char stop = f + 2 < form.size() ? form[f + 2] : '\0';
            std::size_t end = stop ? sql.find(stop, at) : sql.size();
            if (end == std::string::npos) return std::nullopt;
            values.push_back(sql.substr(at, end - at));
            at = end;
            f += 2;
        } else {
            if (at >= sql.size() || sql[at] != form[f]) return std::nullopt;
            ++at;
            ++f;
        }
    }
    if (at != sql.size()) return std::nullopt;
    return values;
}

std::int64_t Integer(const std::string& text) {
    if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos)
        throw DbError("[Microsoft][ODBC SQL Server Driver][SQL Server]Incorrect syntax near '" + text + "'.");
    return LeadingInteger(text);
}

void Refuse(const std::string& text) { throw DbError("[Microsoft][ODBC SQL Server Driver][SQL Server]" + text); }

constexpr std::string_view kEmrCount = "SELECT count(*) From Patient WHERE UPPER(EMR_ID) = N'%s'";
constexpr std::string_view kNameCount =
    "SELECT count(*) FROM Patient WHERE UPPER(LNAME)=N'%s' AND UPPER(FNAME)=N'%s' AND DOB=N'%s'";
constexpr std::string_view kMachineByName = "SELECT SYS_PRODUCT FROM SYSMACHINES WHERE SYS_NAME = N'%s'";
constexpr std::string_view kMachineNull =
    "SELECT SYS_PRODUCT FROM SYSMACHINES WHERE SYS_NAME is NULL ORDER BY SYS_ID ASC";
constexpr std::string_view kMaxPatient = "Select Max(PATIENT_ID) From Patient where MACHINE_ID = N'%s'";
constexpr std::string_view kInsertPatient =
    "INSERT INTO Patient ([MACHINE_ID], [PATIENT_ID], [STR_PATIENT_ID], [LNAME], [FName], [MName], [GENDER], [DOB], "
    "[EMR_ID], [ANCESITY]) VALUES (N'%s', %d, N'%s', N'%s', N'%s', N'%s', N'%s', N'%s', N'%s', N'%s')";
constexpr std::string_view kPatientId =
    "Select PATIENT_ID From PATIENT WHERE UPPER(LNAME)=N'%s' AND UPPER(FNAME)=N'%s' AND DOB=N'%s'";
constexpr std::string_view kMaxVisit = "Select MAX(VISIT_ID) From VISIT";
constexpr std::string_view kInsertVisit =
    "Insert into VISIT (MACHINE_ID, VISIT_ID, ORIGINAL_ID, VISIT_TIME) VALUES (N'%s', %d, N'%s', %d)";
constexpr std::string_view kInsertPatientVisit =
    "Insert into PATIENTVISIT (MACHINE_ID, VISIT_ID, PATIENT_ID) VALUES (N'%s', %d, %s)";

// The fields that the fake servers look at, braces undone, as an ODBC driver reads them.
std::map<std::string, std::string> ParseConnectString(const std::string& text) {
    std::map<std::string, std::string> fields;
    for (const char* key : {"DRIVER", "SERVER", "DATABASE", "UID", "PWD"})
        if (auto field = platform::FindConnectField(text, key)) fields[key] = field->value;
    return fields;
}

std::string Field(const std::map<std::string, std::string>& fields, const std::string& key) {
    auto it = fields.find(key);
    return it == fields.end() ? std::string() : it->second;
}

}  // namespace

FakeImagingDb::Patient& FakeImagingDb::AddPatient(const std::string& machineId, std::int64_t patientId,
                                                  const std::string& lastName, const std::string& firstName,
                                                  const std::string& dob, const std::string& emrId) {
    Patient patient;
    patient.machineId = machineId;
    patient.patientId = patientId;
    patient.strPatientId = "seeded" + std::to_string(patients.size());
    patient.lastName = lastName;
    patient.firstName = firstName;
    patient.dob = dob;
    patient.emrId = emrId;
    patients.push_back(patient);
    return patients.back();
}

std::vector<std::string> FakeImagingDb::Query(const std::string& sql) {
    statements.push_back(sql);
    for (const auto& word : refusedWords)
        if (sql.find(word) != std::string::npos) Refuse("The query was refused: " + word);
    for (const auto& word : crashingWords)
        if (sql.find(word) != std::string::npos) throw std::runtime_error("driver crashed");

    auto columnUpper = [&](const std::string& text) { return upper ? upper(text) : UpperAscii(text); };
    auto byNames = [&](const std::vector<std::string>& v) {
        std::vector<const Patient*> found;
        for (const auto& p : patients)
            if (columnUpper(p.lastName) == v[0] && columnUpper(p.firstName) == v[1] && p.dob == v[2])
                found.push_back(&p);
        return found;
    };
    if (auto v = Match(sql, kEmrCount)) {
        auto n = std::count_if(patients.begin(), patients.end(),
                               [&](const Patient& p) { return columnUpper(p.emrId) == (*v)[0]; });
        return {std::to_string(n)};
    }
    if (auto v = Match(sql, kNameCount)) return {std::to_string(byNames(*v).size())};
    if (auto v = Match(sql, kPatientId)) {
        std::vector<std::string> rows;
        for (const Patient* p : byNames(*v)) rows.push_back(std::to_string(p->patientId));
        return rows;
    }
    if (auto v = Match(sql, kMachineByName)) {
        std::vector<std::string> rows;
        for (const auto& m : machines)
            if (m.sysName && *m.sysName == (*v)[0]) rows.push_back(m.sysProduct);
        return rows;
    }
    if (Match(sql, kMachineNull)) {
        std::vector<Machine> nulls;
        std::copy_if(machines.begin(), machines.end(), std::back_inserter(nulls),
                     [](const Machine& m) { return !m.sysName; });
        std::stable_sort(nulls.begin(), nulls.end(),
                         [](const Machine& a, const Machine& b) { return a.sysId < b.sysId; });
        std::vector<std::string> rows;
        for (const auto& m : nulls) rows.push_back(m.sysProduct);
        return rows;
    }
    if (auto v = Match(sql, kMaxPatient)) {
        std::optional<std::int64_t> max;
        for (const auto& p : patients)
            if (p.machineId == (*v)[0] && (!max || p.patientId > *max)) max = p.patientId;
        return {max ? std::to_string(*max) : std::string()};
    }
    if (Match(sql, kMaxVisit)) {
        std::optional<std::int64_t> max;
        for (const auto& visit : visits)
            if (!max || visit.visitId > *max) max = visit.visitId;
        return {max ? std::to_string(*max) : std::string()};
    }
    const std::string countOf = "SELECT count(*) FROM ";
    if (sql.rfind(countOf, 0) == 0 && sql.find(' ', countOf.size()) == std::string::npos) {
        std::string table = sql.substr(countOf.size());
        if (missingTables.count(table)) Refuse("Invalid object name '" + table + "'.");
        return {"0"};
    }
    Refuse("Unknown query: " + sql);
    return {};
}

void FakeImagingDb::Execute(const std::string& sql) {
    statements.push_back(sql);
    for (const auto& word : refusedWords)
        if (sql.find(word) != std::string::npos) Refuse("The statement was refused: " + word);
    for (const auto& word : crashingWords)
        if (sql.find(word) != std::string::npos) throw std::runtime_error("driver crashed");

    if (auto v = Match(sql, kInsertPatient)) {
        if (refusedInserts.count("Patient")) Refuse("INSERT permission denied on object 'Patient'.");
        Patient p;
        p.machineId = (*v)[0];
        p.patientId = Integer((*v)[1]);
        p.strPatientId = (*v)[2];
        p.lastName = (*v)[3];
        p.firstName = (*v)[4];
        p.middleName = (*v)[5];
        p.gender = (*v)[6];
        p.dob = (*v)[7];
        p.emrId = (*v)[8];
        p.ethnicity = (*v)[9];
        patients.push_back(p);
        return;
    }
    if (auto v = Match(sql, kInsertVisit)) {
        if (refusedInserts.count("VISIT")) Refuse("INSERT permission denied on object 'VISIT'.");
        visits.push_back(Visit{(*v)[0], Integer((*v)[1]), (*v)[2], Integer((*v)[3])});
        return;
    }
    if (auto v = Match(sql, kInsertPatientVisit)) {
        if (refusedInserts.count("PATIENTVISIT")) Refuse("INSERT permission denied on object 'PATIENTVISIT'.");
        patientVisits.push_back(PatientVisit{(*v)[0], Integer((*v)[1]), Integer((*v)[2])});
        return;
    }
    Refuse("Unknown statement: " + sql);
}

class FakeConnection : public platform::IDbConnection {
public:
    explicit FakeConnection(FakeServer& owner) : owner_(owner) {}
    ~FakeConnection() override { Close(); }

    bool Open(const std::string& connectString) override {
        Close();
        owner_.opens.push_back(connectString);
        auto fields = ParseConnectString(connectString);
        std::string driver = Field(fields, "DRIVER");
        if (EqualsNoCase(driver, "SQL Server")) {
            OpenSqlServer(fields);
        } else if (EqualsNoCase(driver, "Gemini InterBase ODBC Driver 2.0")) {
            OpenInterBase(fields);
        } else {
            throw DbError(
                "[Microsoft][ODBC Driver Manager] Data source name not found and no default driver specified");
        }
        ++owner_.openConnections;
        return true;
    }
    bool IsOpen() const override { return catalog_ || tables_; }
    void Close() override {
        if (IsOpen()) --owner_.openConnections;
        catalog_ = nullptr;
        tables_ = nullptr;
    }
    void Execute(const std::string& sql) override {
        if (catalog_) {
            if (!catalog_->Handles(sql)) Refuse("Invalid object name in: " + sql);
            catalog_->Execute(sql);
        } else if (tables_) {
            tables_->Execute(sql);
        } else {
            throw DbError("The connection is not open.");
        }
    }
    std::vector<std::string> QueryFirstColumn(const std::string& sql) override {
        if (catalog_) {
            if (!catalog_->Handles(sql)) Refuse("Invalid object name in: " + sql);
            return catalog_->Query(sql);
        }
        if (tables_) return tables_->Query(sql);
        throw DbError("The connection is not open.");
    }

private:
    void OpenSqlServer(const std::map<std::string, std::string>& fields) {
        auto it = owner_.servers_.find(UpperAscii(Field(fields, "SERVER")));
        if (it == owner_.servers_.end() || !it->second.up)
            throw DbError("[Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server does not exist or access denied.");
        FakeServer::Server& server = it->second;
        if (!EqualsNoCase(Field(fields, "UID"), "sa") || Field(fields, "PWD") != server.password)
            throw DbError("[Microsoft][ODBC SQL Server Driver][SQL Server]Login failed for user '" +
                          Field(fields, "UID") + "'.");
        std::string database = Field(fields, "DATABASE");
        if (EqualsNoCase(database, "MASTER")) {
            catalog_ = &server.catalog;
            return;
        }
        const FakeCatalog::Database* served = nullptr;
        for (const auto& [name, entry] : server.catalog.databases)
            if (EqualsNoCase(name, database)) served = &entry;
        if (!served)
            throw DbError("[Microsoft][ODBC SQL Server Driver][SQL Server]Cannot open database \"" + database +
                          "\" requested by the login. The login failed.");
        if (server.filesHere && !owner_.files_.HasFile(served->dataFile))
            throw DbError("[Microsoft][ODBC SQL Server Driver][SQL Server]Database '" + database +
                          "' cannot be opened due to inaccessible files or insufficient memory or disk space.");
        tables_ = &owner_.DatabaseAt(served->dataFile);
    }

    void OpenInterBase(const std::map<std::string, std::string>& fields) {
        std::string file = Field(fields, "DATABASE");
        if (owner_.interBaseOpensFail > 0) {
            --owner_.interBaseOpensFail;
            throw DbError("[Gemini InterBase ODBC Driver]Unable to complete network request to host.");
        }
        auto status = owner_.files_.Status(file);
        if (!status || status->isDirectory)
            throw DbError("[Gemini InterBase ODBC Driver]I/O error for file \"" + file + "\"");
        if (Field(fields, "UID") != "SYSDBA" || Field(fields, "PWD") != "tumbleoak")
            throw DbError("[Gemini InterBase ODBC Driver]Your user name and password are not defined.");
        tables_ = &owner_.DatabaseAt(file);
    }

    FakeServer& owner_;
    FakeCatalog* catalog_ = nullptr;
    FakeImagingDb* tables_ = nullptr;
};

FakeServer::Server& FakeServer::AddServer(const std::string& name, const std::string& password) {
    auto [it, added] = servers_.try_emplace(UpperAscii(name), files_);
    it->second.password = password;
    it->second.filesHere = EqualsNoCase(name.substr(0, name.find('\\')), "localhost");
    return it->second;
}

FakeServer::Server& FakeServer::ServerNamed(const std::string& name) { return servers_.at(UpperAscii(name)); }

FakeImagingDb& FakeServer::ServeImagingDb(const std::string& serverName, const std::string& dataFile) {
    Server& server = ServerNamed(serverName);
    auto folder = dataFile.substr(0, dataFile.rfind('\\'));
    server.catalog.databases["PATIENT"] = FakeCatalog::Database{dataFile, folder + "\\PATIENT_Log.ldf", false};
    if (server.filesHere && !files_.HasFile(dataFile)) files_.AddFile(dataFile, "mdf");
    return DatabaseAt(dataFile);
}

FakeImagingDb& FakeServer::DatabaseAt(const std::string& dataFile) {
    return databases_[MemoryFileSystem::Key(dataFile)];
}

std::unique_ptr<platform::IDbConnection> FakeServer::NewConnection() { return std::make_unique<FakeConnection>(*this); }

}  // namespace enrolix::test
