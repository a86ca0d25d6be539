#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "enrolix/core/Registration.h"
#include "enrolix/testing/ToolFixture.h"

namespace enrolix::test {
namespace {

class RegistrationTest : public ToolFixture {
protected:
    RegistrationTest() {
        db = &LocalSqlSite();
        db->machines.push_back({1, std::string("WS01"), "OCT-X"});
        connection = server.NewConnection();
        connection->Open("Driver={SQL Server};Server=localhost\\SQLKOR;Database=PATIENT;Uid=sa;Pwd=tumbleoak;");
        request.EmrId = "E100";
        request.LastName = "Smith";
        request.FirstName = "Anna";
        request.MiddleName = "B";
        request.Gender = "F";
        request.DateOfBirth = "03/04/1950";
        request.Ethnicity = "Other";
        request.CaptureDate = "12/08/2024";
        request.NewFlag = 1;
    }

    int Register() { return CreateDBPatient(tool, *connection, request); }
    bool NothingWritten() const { return db->patients.size() == seeded && db->visits.empty(); }
    void Seed(const std::string& machine, std::int64_t id, const std::string& last, const std::string& first,
              const std::string& dob, const std::string& emr) {
        db->AddPatient(machine, id, last, first, dob, emr);
        seeded = db->patients.size();
    }

    FakeImagingDb* db = nullptr;
    std::unique_ptr<platform::IDbConnection> connection;
    PatientRequest request;
    std::size_t seeded = 0;
};

TEST_F(RegistrationTest, NewPatientGetsFirstNumbersAndAllThreeRows) {
    ASSERT_EQ(Register(), 1);
    ASSERT_EQ(db->patients.size(), 1u);
    const auto& p = db->patients[0];
    EXPECT_EQ(p.machineId, "OCT-X");
    EXPECT_EQ(p.patientId, 1);
    EXPECT_EQ(p.lastName, "Smith");
    EXPECT_EQ(p.firstName, "Anna");
    EXPECT_EQ(p.middleName, "B");
    EXPECT_EQ(p.gender, "F");
    EXPECT_EQ(p.dob, "03/04/1950");
    EXPECT_EQ(p.emrId, "E100");
    EXPECT_EQ(p.ethnicity, "Other");
    ASSERT_EQ(db->visits.size(), 1u);
    EXPECT_EQ(db->visits[0].machineId, "OCT-X");
    EXPECT_EQ(db->visits[0].visitId, 1);
    EXPECT_EQ(db->visits[0].visitTime, clock.unixNow);
    ASSERT_EQ(db->patientVisits.size(), 1u);
    EXPECT_EQ(db->patientVisits[0].visitId, 1);
    EXPECT_EQ(db->patientVisits[0].patientId, 1);

    const std::regex hex32("[0-9a-f]{32}");
    EXPECT_TRUE(std::regex_match(p.strPatientId, hex32)) << p.strPatientId;
    EXPECT_TRUE(std::regex_match(db->visits[0].originalId, hex32)) << db->visits[0].originalId;
    EXPECT_NE(p.strPatientId, db->visits[0].originalId);
    EXPECT_EQ(Log(), "");
}

TEST_F(RegistrationTest, PatientIdCountsPerMachineAndVisitIdOverAll) {
    for (int id = 1; id <= 4; ++id) Seed("OCT-X", id, "X" + std::to_string(id), "P", "1/1/1970", "");
    for (int id = 1; id <= 9; ++id) Seed("OCT-Y", id, "Y" + std::to_string(id), "P", "1/1/1970", "");
    for (int v = 1; v <= 20; ++v) db->visits.push_back({v % 2 ? "OCT-X" : "OCT-Y", v, "o", 0});
    ASSERT_EQ(Register(), 1);
    EXPECT_EQ(db->patients.back().patientId, 5);
    EXPECT_EQ(db->visits.back().visitId, 21);
    EXPECT_EQ(db->patientVisits.back().patientId, 5);
    EXPECT_EQ(db->patientVisits.back().visitId, 21);
}

TEST_F(RegistrationTest, DuplicateRulesByEmrIdAndByNames) {
    Seed("OCT-X", 1, "Other", "One", "1/1/1960", "ab12");
    Seed("OCT-X", 2, "Other", "Two", "1/1/1961", "AB12");
    request.EmrId = "Ab12";
    EXPECT_EQ(Register(), kMultipleEmrIds);
    EXPECT_TRUE(NothingWritten());

    request.EmrId = "e7";
    Seed("OCT-X", 3, "Somebody", "Else", "2/2/1962", "E7");
    EXPECT_EQ(Register(), 1);  // present by EMR id, even with other names
    EXPECT_TRUE(NothingWritten());

    request.EmrId = "";
    Seed("OCT-X", 4, "SMITH", "anna", "03/04/1950", "");
    EXPECT_EQ(Register(), 1);  // present by names and date of birth
    EXPECT_TRUE(NothingWritten());

    request.EmrId = "NOT-THERE";
    EXPECT_EQ(Register(), 1);  // EMR id unknown, one name match: kept as present
    EXPECT_TRUE(NothingWritten());

    Seed("OCT-Y", 1, "smith", "ANNA", "03/04/1950", "other");
    EXPECT_EQ(Register(), kMultipleNameMatches);
    EXPECT_TRUE(NothingWritten());

    request.DateOfBirth = "3/4/1950";  // plain equality: another date text is another patient
    EXPECT_EQ(Register(), 1);
    EXPECT_EQ(db->patients.size(), seeded + 1);
}

TEST_F(RegistrationTest, EmptyEmrIdSkipsTheEmrCount) {
    request.EmrId = "";
    ASSERT_EQ(Register(), 1);
    for (const auto& sql : db->statements) EXPECT_EQ(sql.find("EMR_ID) ="), std::string::npos) << sql;
    EXPECT_EQ(db->patients.size(), 1u);
}

TEST_F(RegistrationTest, MachineIdFallsBackToFirstNullNameRow) {
    db->machines = {{7, std::string("OTHER"), "OCT-O"}, {5, std::nullopt, "OCT-N5"}, {3, std::nullopt, "OCT-N3"}};
    ASSERT_EQ(Register(), 1);
    EXPECT_EQ(db->patients[0].machineId, "OCT-N3");
    EXPECT_EQ(db->visits[0].machineId, "OCT-N3");

    db->machines.clear();
    request.LastName = "Jones";
    request.EmrId = "EMR-2";
    ASSERT_EQ(Register(), 1);
    ASSERT_EQ(db->patients.size(), 2u);
    EXPECT_EQ(db->patients[1].machineId, "");
    EXPECT_EQ(db->patients[1].patientId, 1);
}

TEST_F(RegistrationTest, RefusedPatientInsertGivesZeroAndOneExceptionLine) {
    db->refusedInserts.insert("Patient");
    EXPECT_EQ(Register(), 0);
    EXPECT_TRUE(db->patients.empty());
    EXPECT_TRUE(db->visits.empty());
    EXPECT_TRUE(db->patientVisits.empty());
    const std::string log = Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find("[02/05/2015 23:48:30, ERROR] Exception in File: Enrolix Line "), std::string::npos);
    EXPECT_NE(log.find(" function=CreateDBPatient ex=[Microsoft][ODBC SQL Server Driver][SQL Server]INSERT permission "
                       "denied on object 'Patient'."),
              std::string::npos)
        << log;
}

TEST_F(RegistrationTest, VisitFailuresAreLoggedButTheResultStays) {
    db->refusedInserts = {"VISIT", "PATIENTVISIT"};
    EXPECT_EQ(Register(), 1);
    EXPECT_EQ(db->patients.size(), 1u);
    const std::string log = Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
}

TEST_F(RegistrationTest, NameCountFailureGivesMinusTwoAndClosedConnectionZero) {
    db->refusedWords.insert("SELECT count(*) FROM Patient WHERE UPPER(LNAME)");
    EXPECT_EQ(Register(), kNameCountFailed);
    EXPECT_TRUE(db->patients.empty());

    db->refusedWords.clear();
    connection->Close();
    EXPECT_EQ(Register(), 0);
    EXPECT_TRUE(db->patients.empty());
}

TEST_F(RegistrationTest, QuotesAndOddTextAreStoredAndFoundExactly) {
    request.EmrId = "E'1 %d";
    request.LastName = "O'Neil";
    request.FirstName = "D'Arcy ''Jr";
    request.MiddleName = "'); DROP TABLE Patient; --";
    request.Gender = "%s%n";
    request.DateOfBirth = "n/a";
    request.Ethnicity = "Caf\xe9 \"x\"";
    ASSERT_EQ(Register(), 1);
    ASSERT_EQ(db->patients.size(), 1u);
    const auto& p = db->patients[0];
    EXPECT_EQ(p.emrId, "E'1 %d");
    EXPECT_EQ(p.lastName, "O'Neil");
    EXPECT_EQ(p.firstName, "D'Arcy ''Jr");
    EXPECT_EQ(p.middleName, "'); DROP TABLE Patient; --");
    EXPECT_EQ(p.gender, "%s%n");
    EXPECT_EQ(p.dob, "n/a");
    EXPECT_EQ(p.ethnicity, "Caf\xe9 \"x\"");
    EXPECT_EQ(db->visits.size(), 1u);
    EXPECT_EQ(db->patientVisits.size(), 1u);

    EXPECT_EQ(Register(), 1);  // found again by its EMR id
    request.EmrId = "";
    EXPECT_EQ(Register(), 1);  // and by its names
    EXPECT_EQ(db->patients.size(), 1u);
    EXPECT_EQ(Log(), "");
}

TEST_F(RegistrationTest, AccentedLettersCompareWithoutCaseLikeTheDatabase) {
    tool.upperCase = Cp1252Upper;
    db->upper = Cp1252Upper;
    request.LastName = "M\xfcller";      // Müller
    request.FirstName = "\xc9lo\xefse";  // Éloïse
    request.EmrId =
        "\xe9"
        "100";
    ASSERT_EQ(Register(), 1) << Log();
    ASSERT_EQ(db->patients.size(), 1u);
    EXPECT_EQ(db->patients[0].lastName, "M\xfcller");
    EXPECT_EQ(db->visits.size(), 1u);
    EXPECT_TRUE(std::any_of(db->statements.begin(), db->statements.end(), [](const std::string& sql) {
        return sql.find("UPPER(LNAME)=N'M\xdcLLER' AND UPPER(FNAME)=N'\xc9LO\xcfSE'") != std::string::npos;
    }));

    request.LastName = "M\xdcLLER";  // the same patient in capitals, found by name
    request.EmrId = "";
    EXPECT_EQ(Register(), 1);
    request.EmrId =
        "\xc9"
        "100";  // and by EMR id in the other case
    EXPECT_EQ(Register(), 1);
    EXPECT_EQ(db->patients.size(), 1u);
}

TEST_F(RegistrationTest, MachineNameWithApostropheAndVeryLongValues) {
    system.computerName = "O'HARA";
    db->machines = {{1, std::string("O'HARA"), "OCT'Q"}};
    request.LastName = std::string(20000, 'L');
    ASSERT_EQ(Register(), 1);
    EXPECT_EQ(db->patients[0].machineId, "OCT'Q");
    EXPECT_EQ(db->patients[0].lastName, std::string(20000, 'L'));
    EXPECT_EQ(db->patientVisits[0].machineId, "OCT'Q");
}

TEST_F(RegistrationTest, UniqueIdFromUuidBytesOrSeconds) {
    platform::UuidResult uuid;
    uuid.bytes = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
    system.uuids.push_back(uuid);
    EXPECT_EQ(NewUniqueId(tool), "33221100554477668899aabbccddeeff");

    clock.unixNow = 0x1'8000'0001;                                   // low 32 bits as a signed number
    system.uuids.push_back(platform::UuidResult{1824, uuid.bytes});  // unique on this computer only
    EXPECT_EQ(NewUniqueId(tool), "-2147483647");
    system.uuids.push_back(platform::UuidResult{});  // all zeros
    EXPECT_EQ(NewUniqueId(tool), "-2147483647");
    system.uuids.push_back(platform::UuidResult{0x10000, uuid.bytes});  // only the low 16 bits count
    EXPECT_EQ(NewUniqueId(tool), "33221100554477668899aabbccddeeff");
}

}  // namespace
}  // namespace enrolix::test
