#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "enrolix/core/Enrolix.h"
#include "enrolix/core/PatientRequest.h"
#include "enrolix/testing/ToolFixture.h"

namespace enrolix::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kNotCreated = "Failed to create patient in database";

class EntryTest : public ToolFixture {
protected:
    EntryTest() {
        files.AddFolder("C:\\Orvanta\\Logs");
        db = &LocalSqlSite();
        db->machines.push_back({1, std::string("WS01"), "OCT-X"});
    }

    int Run(std::vector<std::string> arguments) { return RunEnrolix(tool, arguments); }
    std::vector<std::string> ErrorBoxes() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.shown)
            if (box.caption == "Error") texts.push_back(box.text);
        return texts;
    }

    const std::vector<std::string> patient{"E100", "Smith", "Anna", "B", "F", "03/04/1950", "Other", "12/08/2024", "1"};
    FakeImagingDb* db = nullptr;
};

TEST(PatientRequest, ArgumentsFillTheFieldsWithNaAsEmptyExceptTheDateOfBirth) {
    PatientRequest r = ParsePatientRequest({"n/a", "N/A", "N/a", "n/A", "n/a", "n/a", "n/a", "N/A", "1", "extra"});
    EXPECT_EQ(r.EmrId + r.LastName + r.FirstName + r.MiddleName + r.Gender + r.Ethnicity + r.CaptureDate, "");
    EXPECT_EQ(r.DateOfBirth, "n/a");
    EXPECT_EQ(r.NewFlag, 1);

    r = ParsePatientRequest({" E1 ", "o'neil", "N/A ", "na", "", "N/A", "%d", "x", "1"});
    EXPECT_EQ(r.EmrId, " E1 ");  // no trimming, no change of case
    EXPECT_EQ(r.LastName, "o'neil");
    EXPECT_EQ(r.FirstName, "N/A ");
    EXPECT_EQ(r.MiddleName, "na");
    EXPECT_EQ(r.DateOfBirth, "N/A");
    EXPECT_EQ(r.Ethnicity, "%d");
    EXPECT_EQ(r.CaptureDate, "x");

    for (const char* flag : {"0", "yes", "01", " 1", "1 ", "", "true"})
        EXPECT_EQ(ParsePatientRequest({"", "", "", "", "", "", "", "", flag}).NewFlag, 0) << flag;
    EXPECT_EQ(ParsePatientRequest({"", "", "", "", "", "", "", ""}).NewFlag, 0);
}

TEST_F(EntryTest, RegisteredPatientExitsPositiveWithoutABox) {
    EXPECT_EQ(Run(patient), 1);
    EXPECT_TRUE(system.detached);
    EXPECT_THAT(boxes.shown, IsEmpty());
    ASSERT_EQ(db->patients.size(), 1u);
    EXPECT_EQ(db->patients[0].lastName, "Smith");
    EXPECT_EQ(server.openConnections, 0);  // closed before the end
    EXPECT_EQ(Run(patient), 1);            // already present
    EXPECT_EQ(db->patients.size(), 1u);
}

TEST_F(EntryTest, TooFewArgumentsAndAClearFlagStopBeforeTheDatabase) {
    std::vector<std::string> eight(patient.begin(), patient.begin() + 8);
    EXPECT_EQ(Run(eight), -40);
    EXPECT_EQ(Run({}), -40);
    std::vector<std::string> off = patient;
    off[8] = "yes";
    EXPECT_EQ(Run(off), -30);
    EXPECT_THAT(ErrorBoxes(), ElementsAre("Invalid parameters", "Invalid parameters",
                                          "Skip the add patient because of the new flag is off"));
    EXPECT_THAT(server.opens, IsEmpty());
    EXPECT_EQ(Log(), "");

    std::vector<std::string> ten = patient;
    ten.push_back("ignored");
    EXPECT_EQ(Run(ten), 1);
}

TEST_F(EntryTest, MissingModuleHandleIsFatal) {
    system.haveModuleHandle = false;
    EXPECT_EQ(Run(patient), -101);
    EXPECT_THAT(ErrorBoxes(), ElementsAre("Fatal Error: GetModuleHandle failed"));
    EXPECT_THAT(server.opens, IsEmpty());
}

TEST_F(EntryTest, ConnectionFailureShowsBothBoxes) {
    server.ServerNamed(kLocalSqlServer).up = false;
    EXPECT_EQ(Run(patient), -20);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Local database connection failed.  Software will exit now.");
    EXPECT_EQ(boxes.shown[1].text, "Failed to connect the database");
    EXPECT_EQ(boxes.shown[1].caption, "Error");
    EXPECT_EQ(boxes.shown[1].style.buttons, platform::MsgButtons::Ok);
}

TEST_F(EntryTest, RegistrationOutcomesBecomeTheirMessages) {
    db->AddPatient("OCT-X", 1, "Smith", "Anna", "03/04/1950", "e100");
    db->AddPatient("OCT-X", 2, "Other", "One", "01/01/1960", "E100");
    EXPECT_EQ(Run(patient), -5);
    db->patients.clear();
    db->AddPatient("OCT-X", 1, "SMITH", "anna", "03/04/1950");
    db->AddPatient("OCT-X", 2, "smith", "ANNA", "03/04/1950");
    EXPECT_EQ(Run(patient), -3);
    db->patients.clear();
    db->refusedInserts.insert("Patient");
    EXPECT_EQ(Run(patient), 0);
    db->refusedInserts.clear();
    db->refusedWords.insert("SELECT count(*) FROM Patient WHERE UPPER(LNAME)");
    EXPECT_EQ(Run(patient), -2);
    EXPECT_THAT(ErrorBoxes(),
                ElementsAre("Patient is not added, because multiple patients have the same EMR_ID in the database",
                            "Patient is not added, because multiple patients have the same last name, first name, "
                            "and date of birth in the database",
                            kNotCreated, kNotCreated));
}

TEST_F(EntryTest, ExceptionEscapingRegistrationIsReportedUnderMainAndGivesZero) {
    db->crashingWords.insert("SELECT count(*) FROM Patient WHERE UPPER(LNAME)");
    EXPECT_EQ(Run(patient), 0);
    EXPECT_THAT(ErrorBoxes(), ElementsAre(kNotCreated));
    EXPECT_THAT(Log(), HasSubstr("[02/05/2015 23:48:30, ERROR] Exception in Enrolix\n"));
    EXPECT_EQ(server.openConnections, 0);
}

TEST_F(EntryTest, ResultMessagesCoverEveryCode) {
    EXPECT_EQ(ResultMessage(-100), "Fatal Error: MFC initialization failed");
    EXPECT_EQ(ResultMessage(-4), kNotCreated);
    EXPECT_EQ(ResultMessage(-1), kNotCreated);
    EXPECT_EQ(ResultMessage(0), kNotCreated);
    EXPECT_EQ(ResultMessage(1), "");
    EXPECT_EQ(ResultMessage(2), "");
}

// Whatever the host passes, the values reach the database exactly, and nothing breaks a statement.
TEST_F(EntryTest, AwkwardArgumentsAreStoredAsGiven) {
    const std::string longName(5000, 'L');
    EXPECT_EQ(Run({"", "O'Neil \"Jr\"", "N/A", "", "%s%n%d", "n/a", "M\xfcller \xc6r\xf8", "", "1"}), 1);
    EXPECT_EQ(Run({"n/a", longName, "'; DROP TABLE Patient; --", "", "", "", "", "", "1"}), 1);
    ASSERT_EQ(db->patients.size(), 2u);
    const auto& quoted = db->patients[0];
    EXPECT_EQ(quoted.lastName, "O'Neil \"Jr\"");
    EXPECT_EQ(quoted.firstName, "");
    EXPECT_EQ(quoted.gender, "%s%n%d");
    EXPECT_EQ(quoted.dob, "n/a");
    EXPECT_EQ(quoted.ethnicity, "M\xfcller \xc6r\xf8");
    EXPECT_EQ(db->patients[1].lastName, longName);
    EXPECT_EQ(db->patients[1].firstName, "'; DROP TABLE Patient; --");
    EXPECT_EQ(db->patients[1].emrId, "");
    // The date of birth n/a is compared as that text.
    bool asked = false;
    for (const auto& sql : db->statements) asked = asked || sql.find("AND DOB=N'n/a'") != std::string::npos;
    EXPECT_TRUE(asked);
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_EQ(Log(), "");
}

}  // namespace
}  // namespace enrolix::test
