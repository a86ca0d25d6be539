#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "enrolix/core/Maintenance.h"
#include "enrolix/testing/LocalServerSite.h"

namespace enrolix::test {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr const char* kLocalFile = LocalServerSite::kLocalFile;
constexpr const char* kLocalLog = LocalServerSite::kLocalLog;
constexpr const char* kOtherFile = "D:\\Data\\Patient.MDF";
constexpr const char* kOtherLog = "D:\\Data\\Patient_log.LDF";
constexpr const char* kAttachLocal =
    "CREATE DATABASE PATIENT ON (FILENAME = N'C:\\SCANSUITE\\db_repository\\PATIENT.mdf') FOR ATTACH_REBUILD_LOG";
constexpr const char* kDetach = "sp_detach_db @dbname = 'PATIENT', @skipchecks = true";
constexpr const char* kSingleUser = "alter database PATIENT set single_user with rollback immediate";

class MaintenanceTest : public ::testing::Test {
protected:
    void Register(const std::string& name, const std::string& dataFile, const std::string& logFile) {
        site.catalog.databases[name] = FakeCatalog::Database{dataFile, logFile, false};
    }
    void RegisterWithFiles(const std::string& name, const std::string& dataFile, const std::string& logFile,
                           const std::string& content) {
        Register(name, dataFile, logFile);
        site.files.AddFile(dataFile, content);
        site.files.AddFile(logFile, "log of " + content);
    }
    const FakeCatalog::Database* Served(const std::string& name) {
        auto it = site.catalog.databases.find(name);
        return it == site.catalog.databases.end() ? nullptr : &it->second;
    }
    bool Sent(const std::string& sql) const {
        const auto& sent = site.catalog.statements;
        return std::find(sent.begin(), sent.end(), sql) != sent.end();
    }

    LocalServerSite site;
    Tool& tool = site.tool;
};

TEST_F(MaintenanceTest, DatabaseExistsAnswersFromTheCatalogue) {
    auto master = site.Master();
    Register("PATIENT", kOtherFile, kOtherLog);
    EXPECT_EQ(DatabaseExists(tool, master.get(), "PATIENT"), 1);
    EXPECT_EQ(DatabaseExists(tool, master.get(), "ARCHIVE"), 0);
    EXPECT_EQ(DatabaseExists(tool, nullptr, "PATIENT"), 0);
    EXPECT_EQ(site.catalog.statements.front(), "SELECT count(*) FROM sys.databases WHERE name = N'PATIENT'");

    site.catalog.refusedWords.insert("sys.databases");
    EXPECT_EQ(DatabaseExists(tool, master.get(), "PATIENT"), 0);
    EXPECT_EQ(site.Log(), "");
}

TEST_F(MaintenanceTest, DatabaseExistsQuotesTheName) {
    auto master = site.Master();
    Register("O'Neil", kOtherFile, kOtherLog);
    EXPECT_EQ(DatabaseExists(tool, master.get(), "O'Neil"), 1);
    EXPECT_EQ(site.catalog.statements.back(), "SELECT count(*) FROM sys.databases WHERE name = N'O''Neil'");
}

TEST_F(MaintenanceTest, GetDBFilePathGivesBothFilesInLowerCase) {
    auto master = site.Master();
    Register("PATIENT", kOtherFile, kOtherLog);
    std::string data = "old", log = "old";
    GetDBFilePath(tool, master.get(), "PATIENT", data, log);
    EXPECT_EQ(data, "d:\\data\\patient.mdf");
    EXPECT_EQ(log, "d:\\data\\patient_log.ldf");
    EXPECT_EQ(site.catalog.statements.back(),
              "SELECT physical_name FROM master.sys.master_files WHERE database_id in (SELECT dbid from "
              "master.sys.sysdatabases where name = N'PATIENT')");

    GetDBFilePath(tool, master.get(), "ARCHIVE", data, log);
    EXPECT_EQ(data, "");
    EXPECT_EQ(log, "");
}

TEST_F(MaintenanceTest, GetDBFilePathLeavesOutputsWithoutConnectionAndReportsRefusal) {
    std::string data = "keep", log = "keep";
    GetDBFilePath(tool, nullptr, "PATIENT", data, log);
    auto master = site.Master();
    GetDBFilePath(tool, master.get(), "", data, log);
    EXPECT_EQ(data, "keep");
    EXPECT_EQ(log, "keep");

    site.catalog.refusedWords.insert("physical_name");
    GetDBFilePath(tool, master.get(), "PATIENT", data, log);
    EXPECT_EQ(data, "");
    EXPECT_EQ(log, "");
    EXPECT_THAT(site.Log(), AllOf(HasSubstr(", ERROR] Exception in File: Enrolix Line "),
                                  HasSubstr(" function=GetDBFilePath ex="), HasSubstr("refused")));
}

TEST_F(MaintenanceTest, GetDBFilePathSkipsNamesWithoutTheirExtensionPastTheStart) {
    auto master = site.Master();
    Register("PATIENT", ".mdf", "E:\\Logs\\P2.LDF");
    std::string data, log;
    GetDBFilePath(tool, master.get(), "PATIENT", data, log);
    EXPECT_EQ(data, "");
    EXPECT_EQ(log, "e:\\logs\\p2.ldf");
}

TEST_F(MaintenanceTest, StatementsDoNothingWithoutConnectionOrName) {
    auto master = site.Master();
    EXPECT_EQ(ForceDBDisconnect(tool, nullptr, "PATIENT"), 0);
    EXPECT_EQ(DetachDB(tool, nullptr, "PATIENT"), 0);
    EXPECT_EQ(DropDB(tool, nullptr, "PATIENT"), 0);
    EXPECT_EQ(RestoreDB(tool, nullptr, "PATIENT", kLocalFile, "C:\\SCANSUITE\\db_repository"), 0);
    EXPECT_EQ(ForceDBDisconnect(tool, master.get(), ""), 0);
    EXPECT_EQ(DetachDB(tool, master.get(), ""), 0);
    EXPECT_EQ(DropDB(tool, master.get(), ""), 0);
    EXPECT_THAT(site.catalog.statements, IsEmpty());
}

TEST_F(MaintenanceTest, RefusedStatementsAreReportedUnderTheirOperation) {
    auto master = site.Master();
    EXPECT_EQ(ForceDBDisconnect(tool, master.get(), "PATIENT"), 0);
    EXPECT_EQ(DropDB(tool, master.get(), "PATIENT"), 0);
    EXPECT_THAT(site.catalog.statements, ElementsAre(kSingleUser, "drop database PATIENT"));
    EXPECT_THAT(site.Log(), AllOf(HasSubstr("function=ForceDBDisconnect ex="), HasSubstr("function=DropDB ex="),
                                  HasSubstr("Database 'PATIENT' does not exist.")));

    Register("PATIENT", kOtherFile, kOtherLog);
    EXPECT_EQ(ForceDBDisconnect(tool, master.get(), "PATIENT"), 1);
    EXPECT_TRUE(Served("PATIENT")->singleUser);
}

TEST_F(MaintenanceTest, DetachDBKeepsTheFiles) {
    auto master = site.Master();
    RegisterWithFiles("PATIENT", kOtherFile, kOtherLog, "other site");
    EXPECT_EQ(DetachDB(tool, master.get(), "PATIENT"), 1);
    EXPECT_EQ(Served("PATIENT"), nullptr);
    EXPECT_EQ(site.files.Content(kOtherFile), "other site");
    EXPECT_THAT(site.catalog.statements, ElementsAre(kDetach));
}

TEST_F(MaintenanceTest, DetachDBForcesSingleUserOnceAfterAQueryTimeout) {
    auto master = site.Master();
    RegisterWithFiles("PATIENT", kOtherFile, kOtherLog, "other site");
    site.catalog.detachTimeouts = 1;
    EXPECT_EQ(DetachDB(tool, master.get(), "PATIENT"), 1);
    EXPECT_EQ(Served("PATIENT"), nullptr);
    EXPECT_THAT(site.catalog.statements, ElementsAre(kDetach, kSingleUser, kDetach));
    EXPECT_EQ(site.Log(), "");
}

TEST_F(MaintenanceTest, DetachDBThatTimesOutTwiceReportsAndGivesTheDatabaseBack) {
    auto master = site.Master();
    RegisterWithFiles("PATIENT", kOtherFile, kOtherLog, "other site");
    site.catalog.detachTimeouts = 2;
    EXPECT_EQ(DetachDB(tool, master.get(), "PATIENT"), 0);
    ASSERT_NE(Served("PATIENT"), nullptr);
    EXPECT_FALSE(Served("PATIENT")->singleUser);
    EXPECT_THAT(site.catalog.statements,
                ElementsAre(kDetach, kSingleUser, kDetach, "alter database PATIENT set multi_user"));
    EXPECT_THAT(site.Log(), HasSubstr("function=DetachDB ex=[Microsoft][ODBC SQL Server Driver]Query timeout expired"));
}

TEST_F(MaintenanceTest, DetachDBDropsOtherErrorsWithoutALine) {
    auto master = site.Master();
    RegisterWithFiles("PATIENT", kOtherFile, kOtherLog, "other site");
    site.catalog.refusedWords.insert("sp_detach_db");
    EXPECT_EQ(DetachDB(tool, master.get(), "PATIENT"), 0);
    EXPECT_THAT(site.catalog.statements, ElementsAre(kDetach));
    EXPECT_EQ(site.Log(), "");

    // A time-out whose forced single-user mode is refused: no second detach.
    site.catalog.refusedWords = {"single_user"};
    site.catalog.detachTimeouts = 1;
    EXPECT_EQ(DetachDB(tool, master.get(), "PATIENT"), 0);
    EXPECT_THAT(site.catalog.statements, ElementsAre(kDetach, kDetach, kSingleUser));
    EXPECT_THAT(site.Log(), HasSubstr("function=ForceDBDisconnect"));
    EXPECT_THAT(site.Log(), Not(HasSubstr("function=DetachDB")));
}

TEST_F(MaintenanceTest, RestoreDBFromTheDataFileItselfRebuildsItsLog) {
    auto master = site.Master();
    site.files.AddFile(kLocalFile, "patients", true);
    site.files.AddFile(kLocalLog, "stale log");
    EXPECT_EQ(RestoreDB(tool, master.get(), "PATIENT", "c:\\scansuite\\DB_REPOSITORY\\patient.mdf",
                        "C:\\SCANSUITE\\db_repository"),
              1);
    EXPECT_THAT(site.catalog.statements, ElementsAre(kAttachLocal));
    EXPECT_EQ(site.files.Content(kLocalFile), "patients");
    EXPECT_FALSE(site.files.Find(kLocalFile)->readOnly);
    EXPECT_EQ(site.files.Content(kLocalLog), "rebuilt log");
    ASSERT_NE(Served("PATIENT"), nullptr);
    EXPECT_EQ(Served("PATIENT")->dataFile, kLocalFile);
}

TEST_F(MaintenanceTest, RestoreDBCopiesAnotherSourceIntoTheFolder) {
    auto master = site.Master();
    site.files.AddFile("E:\\Backup\\PATIENT.mdf", "saved patients", true);
    EXPECT_EQ(RestoreDB(tool, master.get(), "PATIENT", "E:\\Backup\\PATIENT.mdf", "C:\\SCANSUITE\\db_repository"), 1);
    EXPECT_EQ(site.files.Content(kLocalFile), "saved patients");
    EXPECT_EQ(site.files.Content("E:\\Backup\\PATIENT.mdf"), "saved patients");
    EXPECT_FALSE(site.files.Find(kLocalFile)->readOnly);
    EXPECT_EQ(Served("PATIENT")->dataFile, kLocalFile);
}

TEST_F(MaintenanceTest, RestoreDBNeverReplacesAnotherDataFile) {
    auto master = site.Master();
    site.files.AddFile("E:\\Backup\\PATIENT.mdf", "old backup");
    site.files.AddFile(kLocalFile, "patients");
    site.files.AddFile(kLocalLog, "log");
    EXPECT_EQ(RestoreDB(tool, master.get(), "PATIENT", "E:\\Backup\\PATIENT.mdf", "C:\\SCANSUITE\\db_repository"), 0);
    EXPECT_EQ(site.files.Content(kLocalFile), "patients");
    EXPECT_EQ(site.files.Content(kLocalLog), "log");
    EXPECT_THAT(site.catalog.statements, IsEmpty());
    EXPECT_THAT(site.Log(), HasSubstr(", ERROR] Failed to RestoreDB PATIENT: "));
}

TEST_F(MaintenanceTest, RestoreDBFailures) {
    auto master = site.Master();
    EXPECT_EQ(RestoreDB(tool, master.get(), "PATIENT", kLocalFile, "C:\\SCANSUITE\\db_repository"), 0);

    site.files.AddFile(kLocalFile, "patients");
    site.catalog.refusedWords.insert("CREATE DATABASE");
    EXPECT_EQ(RestoreDB(tool, master.get(), "PATIENT", kLocalFile, "C:\\SCANSUITE\\db_repository"), 0);
    EXPECT_THAT(site.Log(), HasSubstr("function=RestoreDB ex="));
    EXPECT_EQ(site.files.Content(kLocalFile), "patients");

    // The server already serves the name: the attach is refused, nothing else changes.
    site.catalog.refusedWords.clear();
    RegisterWithFiles("PATIENT", kOtherFile, kOtherLog, "other site");
    EXPECT_EQ(RestoreDB(tool, master.get(), "PATIENT", kLocalFile, "C:\\SCANSUITE\\db_repository"), 0);
    EXPECT_EQ(Served("PATIENT")->dataFile, kOtherFile);
}

TEST_F(MaintenanceTest, RestoreDBQuotesAPathWithAnApostrophe) {
    auto master = site.Master();
    const std::string folder = "C:\\Dr O'Neil\\db_repository";
    site.files.AddFile(folder + "\\PATIENT.mdf", "patients");
    EXPECT_EQ(RestoreDB(tool, master.get(), "PATIENT", folder + "\\PATIENT.mdf", folder), 1);
    EXPECT_EQ(site.catalog.statements.back(),
              "CREATE DATABASE PATIENT ON (FILENAME = N'C:\\Dr O''Neil\\db_repository\\PATIENT.mdf') FOR "
              "ATTACH_REBUILD_LOG");
    EXPECT_EQ(Served("PATIENT")->dataFile, folder + "\\PATIENT.mdf");
}

// The switch, by the state the server is in.

class SwitchTest : public MaintenanceTest {
protected:
    void SetUp() override { site.files.AddFile(kEmptyDbTemplate, "empty database"); }
    void ExpectServedLocally() {
        ASSERT_NE(Served("PATIENT"), nullptr);
        EXPECT_EQ(Served("PATIENT")->dataFile, kLocalFile);
        EXPECT_EQ(site.files.Content(kLocalLog), "rebuilt log");
    }
    void ExpectConnectionsClosed() {
        EXPECT_EQ(site.driver.connectionsOpen, 0);
        EXPECT_THAT(site.driver.lastConnectString,
                    HasSubstr("Server=localhost\\SQLKOR;Database=MASTER;Uid=sa;Pwd=tumbleoak;"));
    }
};

TEST_F(SwitchTest, NotRegisteredAndNoLocalFileAttachesACopyOfTheTemplate) {
    EXPECT_EQ(SwitchSQLDBToLocal(tool, kLocalFile), 1);
    ExpectServedLocally();
    EXPECT_EQ(site.files.Content(kLocalFile), "empty database");
    EXPECT_EQ(site.files.Content(kEmptyDbTemplate), "empty database");
    EXPECT_TRUE(site.files.HasFolder("C:\\SCANSUITE\\db_repository\\BackupSQL"));
    EXPECT_EQ(site.catalog.statements.back(), kAttachLocal);
    EXPECT_EQ(site.Log(), "");
    ExpectConnectionsClosed();
}

TEST_F(SwitchTest, NotRegisteredWithoutTemplateLogsTheCopyCode) {
    site.files.Forget(kEmptyDbTemplate);
    EXPECT_EQ(SwitchSQLDBToLocal(tool, kLocalFile), 0);
    EXPECT_EQ(Served("PATIENT"), nullptr);
    EXPECT_THAT(site.Log(), HasSubstr(", ERROR] Failed to Copy empty mdf file "
                                      "C:\\Orvanta\\Database\\RestoreEmptyDB\\Empty_PATIENT.mdf to "
                                      "C:\\SCANSUITE\\db_repository\\PATIENT.mdf. Error=1\n"));
    EXPECT_TRUE(site.files.HasFolder("C:\\SCANSUITE\\db_repository\\BackupSQL"));
    ExpectConnectionsClosed();
}

TEST_F(SwitchTest, RegisteredFromAnotherFileDetachesItAndKeepsItsData) {
    RegisterWithFiles("PATIENT", kOtherFile, kOtherLog, "other site");
    site.files.AddFile(kLocalFile, "patients");
    site.files.AddFile(kLocalLog, "stale log");
    EXPECT_EQ(SwitchSQLDBToLocal(tool, kLocalFile), 1);
    ExpectServedLocally();
    EXPECT_EQ(site.files.Content(kLocalFile), "patients");
    EXPECT_EQ(site.files.Content(kOtherFile), "other site");
    EXPECT_FALSE(site.files.HasFile(kOtherLog));
    EXPECT_FALSE(Sent("drop database PATIENT"));
    EXPECT_EQ(site.Log(), "");
}

TEST_F(SwitchTest, RegisteredFromAnotherFileAfterAQueryTimeout) {
    RegisterWithFiles("PATIENT", kOtherFile, kOtherLog, "other site");
    site.catalog.detachTimeouts = 1;
    EXPECT_EQ(SwitchSQLDBToLocal(tool, kLocalFile), 1);
    ExpectServedLocally();
    EXPECT_TRUE(Sent(kSingleUser));
    EXPECT_EQ(site.files.Content(kOtherFile), "other site");
}

TEST_F(SwitchTest, RegisteredWithItsFileGoneIsDropped) {
    Register("PATIENT", kOtherFile, kOtherLog);
    site.files.AddFile(kOtherLog, "orphan log");
    EXPECT_EQ(SwitchSQLDBToLocal(tool, kLocalFile), 1);
    ExpectServedLocally();
    EXPECT_TRUE(Sent("drop database PATIENT"));
    EXPECT_FALSE(site.files.HasFile(kOtherLog));
    EXPECT_EQ(site.files.Content(kLocalFile), "empty database");
    EXPECT_THAT(site.Log(), HasSubstr("[02/05/2015 23:48:30] Force to drop DB=PATIENT for no mdf file\n"));
}

TEST_F(SwitchTest, DetachRefusedLeavesEverythingAsItWas) {
    RegisterWithFiles("PATIENT", kOtherFile, kOtherLog, "other site");
    site.catalog.refusedWords.insert("sp_detach_db");
    EXPECT_EQ(SwitchSQLDBToLocal(tool, kLocalFile), 0);
    EXPECT_EQ(Served("PATIENT")->dataFile, kOtherFile);
    EXPECT_TRUE(site.files.HasFile(kOtherLog));
    EXPECT_FALSE(Sent(kAttachLocal));
    EXPECT_THAT(site.Log(), HasSubstr(", ERROR] Failed to DetatchDB PATIENT\n"));
    // The template still stands in for the missing local file, ready for the next run.
    EXPECT_EQ(site.files.Content(kLocalFile), "empty database");
}

TEST_F(SwitchTest, UndeletableRegisteredLogStopsBeforeTheAttach) {
    RegisterWithFiles("PATIENT", kOtherFile, kOtherLog, "other site");
    site.files.undeletable.insert(platform::fake::MemoryFileSystem::Key(kOtherLog));
    EXPECT_EQ(SwitchSQLDBToLocal(tool, kLocalFile), 0);
    EXPECT_EQ(Served("PATIENT"), nullptr);
    EXPECT_FALSE(Sent(kAttachLocal));
    EXPECT_THAT(site.Log(), HasSubstr(", ERROR] Failed to HardDeleteFile d:\\data\\patient_log.ldf\n"));
}

TEST_F(SwitchTest, RefusedAttachIsReported) {
    site.catalog.refusedWords.insert("CREATE DATABASE");
    EXPECT_EQ(SwitchSQLDBToLocal(tool, kLocalFile), 0);
    EXPECT_THAT(site.Log(), HasSubstr("function=RestoreDB ex="));
    ExpectConnectionsClosed();
}

TEST_F(SwitchTest, ServerUnreachableGivesZero) {
    site.driver.serverDown = true;
    EXPECT_EQ(SwitchSQLDBToLocal(tool, kLocalFile), 0);
    EXPECT_THAT(site.catalog.statements, IsEmpty());
    EXPECT_THAT(site.Log(), HasSubstr("function=SwitchSQLDBToLocal ex=[Microsoft][ODBC SQL Server Driver]Server"));
    EXPECT_FALSE(site.files.HasFile(kLocalFile));
    EXPECT_TRUE(site.files.HasFolder("C:\\SCANSUITE\\db_repository\\BackupSQL"));
    EXPECT_EQ(site.driver.connectionsOpen, 0);
}

TEST_F(SwitchTest, UsesTheSwitchedPassword) {
    site.profile.Write("C:\\Orvanta\\Database\\SqlInstall.ini", "Options", "SAPWD", "velvetoak#317");
    EXPECT_EQ(SwitchSQLDBToLocal(tool, kLocalFile), 1);
    EXPECT_THAT(site.driver.lastConnectString, HasSubstr("Database=MASTER;Uid=sa;Pwd=velvetoak#317;"));
}

TEST_F(SwitchTest, PathWithoutFolderDoesNothing) {
    EXPECT_EQ(SwitchSQLDBToLocal(tool, ""), 0);
    EXPECT_EQ(SwitchSQLDBToLocal(tool, "PATIENT.mdf"), 0);
    EXPECT_EQ(site.driver.connectionsMade, 0);
    EXPECT_FALSE(site.files.HasFolder("C:\\BackupSQL"));
}

// A local data file that holds patients survives every path of the switch.
struct SurvivalCase {
    const char* name;
    void (*arrange)(LocalServerSite&);
    int expected;
};

void RegisterOther(LocalServerSite& site) {
    site.catalog.databases["PATIENT"] = {kOtherFile, kOtherLog, false};
    site.files.AddFile(kOtherFile, "other site");
    site.files.AddFile(kOtherLog, "other log");
}

const SurvivalCase kSurvivalCases[] = {
    {"NotRegistered", [](LocalServerSite&) {}, 1},
    {"RegisteredFromAnotherFile", RegisterOther, 1},
    {"RegisteredWithFileGone",
     [](LocalServerSite& s) {
         s.catalog.databases["PATIENT"] = {kOtherFile, kOtherLog, false};
     },
     1},
    {"RegisteredFromTheLocalFileInOtherCase",
     [](LocalServerSite& s) {
         s.catalog.databases["PATIENT"] = {"c:\\scansuite\\DB_REPOSITORY\\patient.mdf", kLocalLog, false};
         s.files.AddFile(kLocalLog, "live log");
     },
     1},
    {"RegisteredFromTheLocalFileWhoseFilesQueryIsRefused",
     [](LocalServerSite& s) {
         s.catalog.databases["PATIENT"] = {kLocalFile, kLocalLog, false};
         s.files.AddFile(kLocalLog, "live log");
         s.catalog.refusedWords.insert("physical_name");
     },
     1},
    {"DetachTimesOutTwice",
     [](LocalServerSite& s) {
         RegisterOther(s);
         s.catalog.detachTimeouts = 2;
     },
     0},
    {"DetachRefused",
     [](LocalServerSite& s) {
         RegisterOther(s);
         s.catalog.refusedWords.insert("sp_detach_db");
     },
     0},
    {"RegisteredLogUndeletable",
     [](LocalServerSite& s) {
         RegisterOther(s);
         s.files.undeletable.insert(platform::fake::MemoryFileSystem::Key(kOtherLog));
     },
     0},
    {"AttachRefused", [](LocalServerSite& s) { s.catalog.refusedWords.insert("CREATE DATABASE"); }, 0},
    {"TemplateMissing", [](LocalServerSite& s) { s.files.Forget(kEmptyDbTemplate); }, 1},
    {"LocalFileReadOnly", [](LocalServerSite& s) { s.files.SetWritable(kLocalFile, false); }, 1},
    {"ServerUnreachable", [](LocalServerSite& s) { s.driver.serverDown = true; }, 0},
};

class LocalDataSurvivalTest : public ::testing::TestWithParam<SurvivalCase> {};

TEST_P(LocalDataSurvivalTest, LocalPatientsSurvive) {
    LocalServerSite site;
    site.files.AddFile(kEmptyDbTemplate, "empty database");
    site.files.AddFile(kLocalFile, "patients");
    GetParam().arrange(site);

    EXPECT_EQ(SwitchSQLDBToLocal(site.tool, kLocalFile), GetParam().expected) << site.Log();
    EXPECT_EQ(site.files.Content(kLocalFile), "patients");
    if (site.files.HasFile(kOtherFile)) {
        EXPECT_EQ(site.files.Content(kOtherFile), "other site");
    }
    if (GetParam().expected == 1) {
        EXPECT_EQ(site.catalog.databases.at("PATIENT").dataFile, kLocalFile);
    }
    EXPECT_EQ(site.driver.connectionsOpen, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryPath, LocalDataSurvivalTest, ::testing::ValuesIn(kSurvivalCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace enrolix::test
