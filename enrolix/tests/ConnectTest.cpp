#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "enrolix/core/Connect.h"
#include "enrolix/core/SiteConfig.h"
#include "enrolix/testing/ToolFixture.h"

namespace enrolix::test {
namespace {

using platform::MsgAnswer;
using platform::MsgButtons;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr const char* kSystemSet = "C:\\Orvanta\\SystemSet.ini";
constexpr const char* kSqlInstall = "C:\\Orvanta\\Database\\SqlInstall.ini";
constexpr const char* kCentral = "CEN01\\SQLKOR";
constexpr const char* kOtherMdf = "D:\\Old\\PATIENT.mdf";
constexpr const char* kLocalFailed = "Local database connection failed.  Software will exit now.";
constexpr const char* kQuestion =
    "Fail to connect database on server \"CEN01\", do you want to use the local database and continue to work?";

class ConnectTest : public ToolFixture {
protected:
    ConnectTest() {
        files.AddFolder("C:\\Orvanta\\Logs");
        files.AddFile(kEmptyDbTemplateFile, "empty database");
        profile.Write(kSqlInstall, "Options", "INSTANCENAME", "SQLKOR");
        files.SetWritable(kSqlInstall, false);
    }

    int Connect() {
        connection = server.NewConnection();
        return ConnectToDatabase(tool, *connection);
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.shown) texts.push_back(box.text);
        return texts;
    }
    // A site whose TomoCfg.ini names a central SQL Server; the server holds PATIENT on its own disk.
    FakeImagingDb& CentralSite() {
        profile.Write(kTomoCfg, "System Parameters", "Database", "SQL Server");
        profile.Write(kTomoCfg, "Server Connection", "Server", "CEN01");
        server.AddServer(kCentral, "tumbleoak");
        return server.ServeImagingDb(kCentral, "E:\\Central\\PATIENT.mdf");
    }
    const FakeCatalog::Database& ServedLocally() {
        return server.ServerNamed(kLocalSqlServer).catalog.databases.at("PATIENT");
    }
    std::vector<std::string>& LocalStatements() { return server.ServerNamed(kLocalSqlServer).catalog.statements; }

    void ExpectLocalFailureWithoutSwitch() {
        EXPECT_EQ(Connect(), 0);
        EXPECT_FALSE(connection->IsOpen());
        EXPECT_EQ(Ini(kSqlInstall, "Options", "SAPWD"), "<missing>");
        EXPECT_THAT(Log(), HasSubstr(", ERROR] Database Login Failed\n"));
        EXPECT_THAT(Log(), Not(HasSubstr("Switch")));
        EXPECT_THAT(BoxTexts(), ElementsAre(kLocalFailed));
        EXPECT_EQ(boxes.shown[0].caption, "Database connection error");
        EXPECT_TRUE(boxes.shown[0].style.taskModal && boxes.shown[0].style.topmost);
        EXPECT_EQ(Ini(kSystemSet, "Machine", "Home"), "<missing>");
        EXPECT_EQ(server.openConnections, 0);
    }

    friend void ExpectPasswordSwitch(ConnectTest&, const char*, const char*, const char*);
    static constexpr const char* kEmptyDbTemplateFile = "C:\\Orvanta\\Database\\RestoreEmptyDB\\Empty_PATIENT.mdf";
    std::unique_ptr<platform::IDbConnection> connection;
};

TEST_F(ConnectTest, LocalSqlServerSiteConnectsAndRecordsTheOutcome) {
    LocalSqlSite().AddPatient("X", 1, "Doe", "John", "1970");
    profile.Write(kTomoCfg, "Server Connection", "Server", "  ws01 ");  // this machine, another case
    EXPECT_EQ(Connect(), 1);
    EXPECT_TRUE(connection->IsOpen());
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_EQ(Ini(kTomoCfg, "Server Connection", "Server"), "");
    EXPECT_EQ(Ini(kSystemSet, "Machine", "Database"), kLocalMdf);
    EXPECT_EQ(Ini(kSystemSet, "Machine", "Home"), "C:\\SCANSUITE\\");
    EXPECT_EQ(server.opens.back(),
              "Driver={SQL Server};Server=localhost\\SQLKOR;Database=PATIENT;Uid=sa;Pwd=tumbleoak;");
    EXPECT_EQ(server.openConnections, 1);  // only the tool's own connection is left open
    EXPECT_EQ(Log(), "");
    // The server already served the site's own file: nothing was detached or attached.
    EXPECT_THAT(LocalStatements(), Not(testing::Contains(HasSubstr("sp_detach_db"))));
}

// The server takes only serverPassword; stored is SAPWD in SqlInstall.ini (nullptr: no such key).
void ExpectPasswordSwitch(ConnectTest& site, const char* stored, const char* serverPassword, const char* log);

TEST_F(ConnectTest, PasswordSwitchToPolicyIsRecorded) {
    ExpectPasswordSwitch(*this, nullptr, "velvetoak#317", "Switch password to enforce password");
}

TEST_F(ConnectTest, PasswordSwitchToPlainIsRecorded) {
    ExpectPasswordSwitch(*this, "velvetoak#317", "tumbleoak", "Switch enforce password to password");
}

TEST_F(ConnectTest, RefusedLoginWithAThirdPasswordEndsInTheLocalFailure) {
    LocalSqlSite();
    server.ServerNamed(kLocalSqlServer).password = "other";
    ExpectLocalFailureWithoutSwitch();
}

TEST_F(ConnectTest, UnreachableServerIsNoLoginFailureAndSwitchesNothing) {
    LocalSqlSite();
    server.ServerNamed(kLocalSqlServer).up = false;
    ExpectLocalFailureWithoutSwitch();
}

TEST_F(ConnectTest, InterBaseSiteIgnoresTheServerAndNeverProbes) {
    profile.Write(kTomoCfg, "Server Connection", "Server", "CEN01");
    files.AddFile(kLocalIb, "ib");
    server.DatabaseAt(kLocalIb);
    EXPECT_EQ(Connect(), 1);
    EXPECT_THAT(server.opens, ElementsAre("ODBC;DRIVER={Gemini InterBase ODBC Driver 2.0};SERVER=localhost;DATABASE="
                                          "C:\\SCANSUITE\\db_repository\\PATIENT.ib;UID=SYSDBA;PWD=tumbleoak;"));
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(Ini(kTomoCfg, "Server Connection", "Server"), "");
    EXPECT_EQ(Ini(kSystemSet, "Machine", "Database"), kLocalIb);
}

TEST_F(ConnectTest, NoSiteFilesAndNoInterBaseFileTriesNothing) {
    EXPECT_EQ(Connect(), 0);
    EXPECT_THAT(server.opens, IsEmpty());
    EXPECT_THAT(BoxTexts(), ElementsAre(kLocalFailed));
    EXPECT_EQ(Log(), "");
}

TEST_F(ConnectTest, InterBaseOpenThatFailsIsReportedOnce) {
    files.AddFile(kLocalIb, "ib");
    server.interBaseOpensFail = 1;
    EXPECT_EQ(Connect(), 0);
    EXPECT_THAT(Log(), HasSubstr("function=ConnectToDatabase ex=[Gemini InterBase ODBC Driver]Unable to complete"));
    EXPECT_THAT(BoxTexts(), ElementsAre(kLocalFailed));
    EXPECT_EQ(Ini(kSystemSet, "Machine", "Home"), "<missing>");
}

TEST_F(ConnectTest, CentralServerConnectsWhenTheLocalFileIsHere) {
    CentralSite();
    files.AddFile(kLocalMdf, "local copy");
    EXPECT_EQ(Connect(), 1);
    EXPECT_THAT(server.opens.back(), HasSubstr("Server=CEN01\\SQLKOR;Database=PATIENT;"));
    EXPECT_EQ(Ini(kTomoCfg, "Server Connection", "Server"), "CEN01");
    EXPECT_EQ(Ini(kSystemSet, "Machine", "Database"), "<missing>");
    EXPECT_EQ(Ini(kSystemSet, "Machine", "Home"), "C:\\SCANSUITE\\");
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(ConnectTest, CentralFailureAsksAndNoEndsAtOnce) {
    CentralSite();
    server.ServerNamed(kCentral).up = false;
    boxes.answers.push_back(MsgAnswer::No);
    EXPECT_EQ(Connect(), 0);
    EXPECT_THAT(BoxTexts(), ElementsAre(kQuestion));
    EXPECT_EQ(boxes.shown[0].style.buttons, MsgButtons::YesNo);
    EXPECT_THAT(Log(), HasSubstr("Database Login Failed"));
    EXPECT_EQ(server.openConnections, 0);
}

TEST_F(ConnectTest, CentralWithoutTheLocalFileIsNotReadyAndYesFallsBackToLocal) {
    CentralSite();  // reachable, but this workstation lacks ...\db_repository\PATIENT.mdf
    server.AddServer(kLocalSqlServer, "tumbleoak");
    files.AddFolder("C:\\SCANSUITE\\db_repository");
    boxes.answers.push_back(MsgAnswer::Yes);
    EXPECT_EQ(Connect(), 1) << Log();
    EXPECT_THAT(BoxTexts(), ElementsAre(kQuestion));
    // The local server had no PATIENT: the template became the local file and was attached.
    EXPECT_EQ(files.Content(kLocalMdf), "empty database");
    EXPECT_EQ(ServedLocally().dataFile, kLocalMdf);
    EXPECT_THAT(server.opens.back(), HasSubstr("Server=localhost\\SQLKOR;Database=PATIENT;"));
    EXPECT_EQ(Ini(kTomoCfg, "Server Connection", "Server"), "CEN01");  // kept after a fallback
    EXPECT_EQ(Ini(kSystemSet, "Machine", "Database"), kLocalMdf);
}

TEST_F(ConnectTest, FallbackThatFailsShowsTheQuestionThenTheLocalFailure) {
    CentralSite();
    server.ServerNamed(kCentral).up = false;
    boxes.answers.push_back(MsgAnswer::Yes);
    EXPECT_EQ(Connect(), 0);
    EXPECT_THAT(BoxTexts(), ElementsAre(kQuestion, kLocalFailed));
    EXPECT_EQ(Ini(kTomoCfg, "Server Connection", "Server"), "CEN01");
}

void ExpectPasswordSwitch(ConnectTest& site, const char* stored, const char* serverPassword, const char* log) {
    site.LocalSqlSite();
    site.server.ServerNamed(kLocalSqlServer).password = serverPassword;
    if (stored) {
        site.files.SetWritable(kSqlInstall, true);
        site.profile.Write(kSqlInstall, "Options", "SAPWD", stored);
        site.files.SetWritable(kSqlInstall, false);
    }
    EXPECT_EQ(site.Connect(), 1);
    EXPECT_EQ(site.Ini(kSqlInstall, "Options", "SAPWD"), serverPassword);
    EXPECT_TRUE(site.files.Find(kSqlInstall)->readOnly);
    EXPECT_THAT(site.Log(), HasSubstr(std::string("[02/05/2015 23:48:30] ") + log + "\n"));
    EXPECT_THAT(site.server.opens.back(), HasSubstr(std::string("Database=PATIENT;Uid=sa;Pwd=") + serverPassword));
}

// The local server serves PATIENT from another file, or the site's file is missing: the switch comes first.

TEST_F(ConnectTest, ServerOnAnotherFileIsSwitchedBeforeReadiness) {
    server.AddServer(kLocalSqlServer, "tumbleoak");
    profile.Write(kTomoCfg, "System Parameters", "Database", "SQL Server");
    server.ServeImagingDb(kLocalSqlServer, kOtherMdf).AddPatient("OLD", 1, "Old", "Site", "1950");
    files.AddFile(kLocalMdf, "site patients");
    server.DatabaseAt(kLocalMdf).AddPatient("X", 7, "Doe", "John", "1970");

    EXPECT_EQ(Connect(), 1);
    EXPECT_EQ(ServedLocally().dataFile, kLocalMdf);
    EXPECT_EQ(files.Content(kLocalMdf), "site patients");
    EXPECT_TRUE(files.HasFile(kOtherMdf));
    const auto& sent = LocalStatements();
    auto detach = std::find(sent.begin(), sent.end(), "sp_detach_db @dbname = 'PATIENT', @skipchecks = true");
    auto attach = std::find_if(sent.begin(), sent.end(), [](const std::string& s) { return s.starts_with("CREATE"); });
    ASSERT_NE(detach, sent.end());
    ASSERT_NE(attach, sent.end());
    EXPECT_LT(detach, attach);
    // Readiness asks the server about PATIENT after the attach.
    EXPECT_TRUE(
        std::any_of(attach, sent.end(), [](const std::string& s) { return s.find("sys.databases") != s.npos; }));
    // The tool's connection now reaches the site's own patients.
    EXPECT_EQ(connection->QueryFirstColumn("SELECT count(*) FROM Patient WHERE UPPER(LNAME)=N'DOE' AND "
                                           "UPPER(FNAME)=N'JOHN' AND DOB=N'1970'"),
              std::vector<std::string>{"1"});
}

TEST_F(ConnectTest, MissingLocalFileIsReplacedByTheTemplate) {
    LocalSqlSite();
    files.Forget(kLocalMdf);  // the server still lists PATIENT on the site's path, but the file is gone
    EXPECT_EQ(Connect(), 1);
    EXPECT_EQ(files.Content(kLocalMdf), "empty database");
    EXPECT_EQ(ServedLocally().dataFile, kLocalMdf);
}

TEST_F(ConnectTest, FailedSwitchFailsThePassWithTheFinalMessage) {
    server.AddServer(kLocalSqlServer, "tumbleoak");
    profile.Write(kTomoCfg, "System Parameters", "Database", "SQL Server");
    server.ServeImagingDb(kLocalSqlServer, kOtherMdf);
    files.AddFile(kLocalMdf, "site patients");
    server.ServerNamed(kLocalSqlServer).catalog.refusedWords.insert("CREATE DATABASE");

    EXPECT_EQ(Connect(), 0);
    EXPECT_FALSE(connection->IsOpen());
    EXPECT_THAT(BoxTexts(), ElementsAre(kLocalFailed));
    EXPECT_THAT(Log(), HasSubstr("function=RestoreDB ex="));
    // Readiness was never asked after the failed switch, and the site's file is untouched.
    EXPECT_EQ(files.Content(kLocalMdf), "site patients");
    EXPECT_EQ(Ini(kSystemSet, "Machine", "Database"), "<missing>");
    EXPECT_EQ(server.openConnections, 0);
}

TEST_F(ConnectTest, ProbeRestoresBothStringsWhenTheSwitchedPasswordFailsToo) {
    LocalSqlSite();
    server.ServerNamed(kLocalSqlServer).password = "other";
    std::string probe = "Driver={SQL Server};Server=localhost\\SQLKOR;Database=MASTER;Uid=sa;Pwd=tumbleoak;";
    std::string companion = "Driver={SQL Server};Server=localhost\\SQLKOR;Database=PATIENT;Uid=sa;Pwd=tumbleoak;";
    const std::string probeBefore = probe;
    const std::string companionBefore = companion;
    EXPECT_EQ(ProbeConnection(tool, probe, companion), 0);
    EXPECT_EQ(probe, probeBefore);
    EXPECT_EQ(companion, companionBefore);
    EXPECT_EQ(server.opens.size(), 2u);
    EXPECT_THAT(server.opens.back(), HasSubstr("Pwd=velvetoak#317;"));

    std::string noPassword = "Driver={SQL Server};Server=localhost\\SQLKOR;Database=MASTER;Uid=sa;Pwd=x;";
    EXPECT_EQ(ProbeConnection(tool, noPassword, companion), 0);
    EXPECT_EQ(server.opens.size(), 3u);  // neither built-in password to switch: no second try
    EXPECT_EQ(server.openConnections, 0);
}

// A server whose name holds the policy password: the switch rewrites the password and nothing else.
TEST_F(ConnectTest, PasswordSwitchChangesOnlyThePasswordValue) {
    server.AddServer("velvetoak#317\\SQLKOR", "velvetoak#317");
    std::string probe = BuildSQLConnectString(tool, "MASTER", "velvetoak#317");
    std::string companion = BuildSQLConnectString(tool, "PATIENT", "velvetoak#317");
    EXPECT_EQ(ProbeConnection(tool, probe, companion), 1);
    EXPECT_EQ(probe, "Driver={SQL Server};Server=velvetoak#317\\SQLKOR;Database=MASTER;Uid=sa;Pwd=velvetoak#317;");
    EXPECT_EQ(companion, "Driver={SQL Server};Server=velvetoak#317\\SQLKOR;Database=PATIENT;Uid=sa;Pwd=velvetoak#317;");
    EXPECT_EQ(Ini(kSqlInstall, "Options", "SAPWD"), "velvetoak#317");
    EXPECT_THAT(Log(), HasSubstr("Switch password to enforce password"));
}

TEST_F(ConnectTest, PasswordWithSemicolonAndBracesConnects) {
    LocalSqlSite();
    server.ServerNamed(kLocalSqlServer).password = "se;cr{e}t";
    files.SetWritable(kSqlInstall, true);
    profile.Write(kSqlInstall, "Options", "SAPWD", "se;cr{e}t");
    EXPECT_EQ(Connect(), 1) << Log();
    EXPECT_EQ(server.opens.back(),
              "Driver={SQL Server};Server=localhost\\SQLKOR;Database=PATIENT;Uid=sa;Pwd={se;cr{e}}t};");
    EXPECT_EQ(Log(), "");
}

// The configured server names this machine when both are equal after the tool's own upper-casing.
TEST_F(ConnectTest, MachineNameComparesAccentedLettersWithoutCase) {
    tool.upperCase = Cp1252Upper;
    LocalSqlSite();
    profile.Write(kSystemSet, "Machine", "MachineName",
                  "WS\xc9"
                  "01");
    profile.Write(kTomoCfg, "Server Connection", "Server",
                  "ws\xe9"
                  "01");
    EXPECT_EQ(Connect(), 1);
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_EQ(Ini(kTomoCfg, "Server Connection", "Server"), "");
    EXPECT_THAT(server.opens.back(), HasSubstr("Server=localhost\\SQLKOR;"));
}

}  // namespace
}  // namespace enrolix::test
