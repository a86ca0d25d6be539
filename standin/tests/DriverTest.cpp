// The stand-in driver through the real unixODBC driver manager, with the tool's own connection strings and
// statements, and platform::odbc::OdbcConnection as the client.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "OdbcTestSetup.h"
#include "platform/odbc/OdbcConnection.h"
#include "standin/core/AnsiText.h"

namespace fs = std::filesystem;
using platform::DbError;
using platform::odbc::OdbcConnection;

namespace {

const std::string kMaster = "Driver={SQL Server};Server=localhost\\SQLKOR;Database=MASTER;Uid=sa;Pwd=tumbleoak;";
const std::string kPatient = "Driver={SQL Server};Server=localhost\\SQLKOR;Database=PATIENT;Uid=sa;Pwd=tumbleoak;";
const std::string kLocalFile = "C:\\SCANSUITE\\db_repository\\PATIENT.mdf";

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class StandinDriver : public ::testing::Test {
protected:
    static void SetUpTestSuite() { suite_ = MakeTestFolder("standin-test"); }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(suite_, ignored);
        unsetenv("ORVANTA_STANDIN_CONFIG");
    }
    void SetUp() override {
        folder_ = suite_ / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(folder_ / "drive_c");
        RegisterStandinDrivers();
        setenv("ORVANTA_STANDIN_CONFIG", (folder_ / "standin.ini").c_str(), 1);
    }

    // Writes the configuration; drive C lies in the test's folder.
    void Configure(const std::string& text) const {
        std::ofstream(folder_ / "standin.ini") << "[standin]\ndrive_c = drive_c\n\n" << text;
    }

    fs::path OnDriveC(const std::string& windowsPath) const {
        std::string relative = windowsPath.substr(3);
        for (char& c : relative)
            if (c == '\\') c = '/';
        return folder_ / "drive_c" / relative;
    }

    // Creates an imaging database with the tables the tool uses.
    fs::path MakeDatabase(const std::string& windowsPath) const {
        fs::path file = OnDriveC(windowsPath);
        fs::create_directories(file.parent_path());
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, ReadFile(STANDIN_SCHEMA).c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        return file;
    }

    static std::string OpenError(const std::string& connectString) {
        OdbcConnection connection;
        try {
            if (!connection.Open(connectString)) return "(no data)";
        } catch (const DbError& e) {
            return e.what();
        }
        return "(opened)";
    }

    static std::string ExecuteError(OdbcConnection& connection, const std::string& sql) {
        try {
            connection.Execute(sql);
        } catch (const DbError& e) {
            return e.what();
        }
        return "(ran)";
    }

    std::string Log() const { return ReadFile(folder_ / "statements.log"); }

    static fs::path suite_;
    fs::path folder_;
};

fs::path StandinDriver::suite_;

TEST_F(StandinDriver, SqlServerLoginsAcceptOnlyTheServersPassword) {
    Configure(
        "[server localhost\\SQLKOR]\npassword = plain\n\n[server central01\\SQLKOR]\npassword = policy\n\n"
        "[server central02\\SQLKOR]\nstatus = down\n");
    EXPECT_EQ(OpenError(kMaster), "(opened)");
    EXPECT_EQ(OpenError("Driver={SQL Server};Server=(local)\\sqlkor;Database=master;Uid=SA;Pwd=tumbleoak;"),
              "(opened)");

    std::string refused = OpenError("Driver={SQL Server};Server=localhost\\SQLKOR;Database=MASTER;Uid=sa;Pwd=x;");
    EXPECT_NE(refused.find("[Microsoft][ODBC SQL Server Driver][SQL Server]Login failed for user 'sa'."
                           " (State:28000,Native:18456)"),
              std::string::npos)
        << refused;

    EXPECT_EQ(OpenError("Driver={SQL Server};Server=central01\\SQLKOR;Database=MASTER;Uid=sa;Pwd=velvetoak#317;"),
              "(opened)");
    refused = OpenError("Driver={SQL Server};Server=central01\\SQLKOR;Database=MASTER;Uid=sa;Pwd=tumbleoak;");
    EXPECT_NE(refused.find("Login failed"), std::string::npos) << refused;

    for (const char* server : {"central02\\SQLKOR", "nowhere\\SQLKOR", "localhost\\OTHER"}) {
        std::string down =
            OpenError(std::string("Driver={SQL Server};Server=") + server + ";Database=MASTER;Uid=sa;Pwd=tumbleoak;");
        EXPECT_NE(down.find("SQL Server does not exist or access denied."), std::string::npos) << down;
        EXPECT_NE(down.find("State:08001"), std::string::npos) << down;
        EXPECT_EQ(down.find("Login failed"), std::string::npos) << down;
    }
}

TEST_F(StandinDriver, AMissingOrBrokenConfigurationRefusesEveryOpen) {
    std::string text = OpenError(kMaster);
    EXPECT_NE(text.find("does not exist"), std::string::npos) << text;
    EXPECT_EQ(text.find("Login failed"), std::string::npos) << text;
    Configure("[server localhost\\SQLKOR]\nstatus = maybe\n");
    text = OpenError(kMaster);
    EXPECT_NE(text.find("status must be up or down"), std::string::npos) << text;
}

TEST_F(StandinDriver, PatientOpensOnlyOnAServerThatServesIt) {
    MakeDatabase(kLocalFile);
    Configure("[server localhost\\SQLKOR]\n\n[server central01\\SQLKOR]\ndatabase PATIENT = " + kLocalFile + "\n");
    std::string text = OpenError(kPatient);
    EXPECT_NE(text.find("Cannot open database \"PATIENT\" requested by the login. The login failed. "
                        "(State:42000,Native:4060)"),
              std::string::npos)
        << text;
    EXPECT_EQ(OpenError("Driver={SQL Server};Server=central01\\SQLKOR;Database=PATIENT;Uid=sa;Pwd=tumbleoak;"),
              "(opened)");

    // A served database whose file has gone cannot be opened either.
    fs::remove(OnDriveC(kLocalFile));
    text = OpenError("Driver={SQL Server};Server=central01\\SQLKOR;Database=PATIENT;Uid=sa;Pwd=tumbleoak;");
    EXPECT_NE(text.find("Cannot open database"), std::string::npos) << text;
}

TEST_F(StandinDriver, InterBaseOpensTheNamedFileDirectly) {
    Configure("[interbase]\n");
    const std::string file = "C:\\SCANSUITE\\db_repository\\PATIENT.ib";
    const std::string connect = "ODBC;DRIVER={Gemini InterBase ODBC Driver 2.0};SERVER=localhost;DATABASE=" + file +
                                ";UID=SYSDBA;PWD=tumbleoak;";
    std::string text = OpenError(connect);
    EXPECT_NE(text.find("I/O error for file \"" + file + "\""), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(OnDriveC(file))) << "a failed open must not create the file";

    MakeDatabase(file);
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(connect));
    connection.Execute("Insert into VISIT (MACHINE_ID, VISIT_ID, ORIGINAL_ID, VISIT_TIME) VALUES (N'M1', 1, N'ab', 7)");
    EXPECT_EQ(connection.QueryFirstColumn("Select MAX(VISIT_ID) From VISIT"), std::vector<std::string>{"1"});

    text = OpenError("DRIVER={Gemini InterBase ODBC Driver 2.0};SERVER=localhost;DATABASE=" + file +
                     ";UID=SYSDBA;PWD=other;");
    EXPECT_NE(text.find("Your user name and password are not defined"), std::string::npos) << text;
    Configure("[interbase]\nstatus = down\n");
    text = OpenError(connect);
    EXPECT_NE(text.find("Unable to complete network request"), std::string::npos) << text;
}

TEST_F(StandinDriver, RegistrationStatementsRunAsTheToolSendsThem) {
    MakeDatabase(kLocalFile);
    Configure("[server localhost\\SQLKOR]\ndatabase PATIENT = " + kLocalFile + "\n");
    OdbcConnection db;
    ASSERT_TRUE(db.Open(kPatient));
    db.Execute("INSERT INTO SYSMACHINES (SYS_ID, SYS_NAME, SYS_PRODUCT) VALUES (2, NULL, N'SECOND')");
    db.Execute("INSERT INTO SYSMACHINES (SYS_ID, SYS_NAME, SYS_PRODUCT) VALUES (1, NULL, N'FIRST')");
    db.Execute("INSERT INTO SYSMACHINES (SYS_ID, SYS_NAME, SYS_PRODUCT) VALUES (3, N'WS01', N'SORVANE')");

    EXPECT_EQ(db.QueryFirstColumn("SELECT SYS_PRODUCT FROM SYSMACHINES WHERE SYS_NAME = N'ws01'"),
              std::vector<std::string>{"SORVANE"});
    EXPECT_EQ(db.QueryFirstColumn("SELECT SYS_PRODUCT FROM SYSMACHINES WHERE SYS_NAME is NULL ORDER BY SYS_ID ASC"),
              (std::vector<std::string>{"FIRST", "SECOND"}));
    EXPECT_EQ(db.QueryFirstColumn("Select Max(PATIENT_ID) From Patient where MACHINE_ID = N'SORVANE'"),
              std::vector<std::string>{""});

    db.Execute(
        "INSERT INTO Patient ([MACHINE_ID], [PATIENT_ID], [STR_PATIENT_ID], [LNAME], [FName], [MName], [GENDER], "
        "[DOB], [EMR_ID], [ANCESITY]) VALUES (N'SORVANE', 1, N'0123abcd', N'O''Neil', N'Ann', N'', N'F', "
        "N'1970-01-02', N'ab12', N'n/a')");
    EXPECT_EQ(db.QueryFirstColumn("SELECT count(*) From Patient WHERE UPPER(EMR_ID) = N'AB12'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(db.QueryFirstColumn("SELECT count(*) FROM Patient WHERE UPPER(LNAME)=N'O''NEIL' AND UPPER(FNAME)=N'ANN'"
                                  " AND DOB=N'1970-01-02'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(db.QueryFirstColumn("Select PATIENT_ID From PATIENT WHERE UPPER(LNAME)=N'O''NEIL' AND "
                                  "UPPER(FNAME)=N'ANN' AND DOB=N'1970-01-02'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(db.QueryFirstColumn("SELECT LNAME FROM Patient"), std::vector<std::string>{"O'Neil"});
    EXPECT_EQ(db.QueryFirstColumn("Select Max(PATIENT_ID) From Patient where MACHINE_ID = N'SORVANE'"),
              std::vector<std::string>{"1"});
    db.Execute("Insert into VISIT (MACHINE_ID, VISIT_ID, ORIGINAL_ID, VISIT_TIME) VALUES (N'SORVANE', 1, N'ff', -5)");
    db.Execute("Insert into PATIENTVISIT (MACHINE_ID, VISIT_ID, PATIENT_ID) VALUES (N'SORVANE', 1, 1)");
    EXPECT_EQ(db.QueryFirstColumn("SELECT VISIT_TIME FROM VISIT"), std::vector<std::string>{"-5"});
    EXPECT_EQ(db.QueryFirstColumn("SELECT PATIENT_ID FROM PATIENTVISIT WHERE VISIT_ID = 1"),
              std::vector<std::string>{"1"});

    // Long text comes back whole through chunked reads; an unknown table is SQL Server's error.
    std::string longName(1000, 'x');
    db.Execute("UPDATE Patient SET MName = N'" + longName + "'");
    EXPECT_EQ(db.QueryFirstColumn("SELECT MName FROM Patient"), std::vector<std::string>{longName});
    std::string text = ExecuteError(db, "INSERT INTO Missing VALUES (1)");
    EXPECT_NE(text.find("Invalid object name 'Missing'. (State:42S02,Native:208)"), std::string::npos) << text;
    EXPECT_TRUE(db.IsOpen());

    // The data live in the database file itself.
    db.Close();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(OnDriveC(kLocalFile).c_str(), &raw), SQLITE_OK);
    int patients = 0;
    sqlite3_exec(
        raw, "SELECT count(*) FROM Patient",
        [](void* out, int, char** values, char**) {
            *static_cast<int*>(out) = std::atoi(values[0]);
            return 0;
        },
        &patients, nullptr);
    sqlite3_close(raw);
    EXPECT_EQ(patients, 1);
}

TEST_F(StandinDriver, RefusedInsertsFailAndWriteNothing) {
    MakeDatabase(kLocalFile);
    Configure("[server localhost\\SQLKOR]\ndatabase PATIENT = " + kLocalFile +
              "\n\n[refuse_insert]\nPatient =\nVISIT = no visits today\n");
    OdbcConnection db;
    ASSERT_TRUE(db.Open(kPatient));
    std::string text = ExecuteError(db, "INSERT INTO Patient ([MACHINE_ID], [PATIENT_ID]) VALUES (N'M', 1)");
    EXPECT_NE(text.find("The INSERT permission was denied on the object 'Patient'"), std::string::npos) << text;
    text = ExecuteError(db, "insert into dbo.[visit] (VISIT_ID) VALUES (1)");
    EXPECT_NE(text.find("no visits today"), std::string::npos) << text;
    EXPECT_EQ(db.QueryFirstColumn("SELECT count(*) FROM Patient"), std::vector<std::string>{"0"});
    EXPECT_EQ(db.QueryFirstColumn("SELECT count(*) FROM VISIT"), std::vector<std::string>{"0"});
    db.Execute("Insert into PATIENTVISIT (MACHINE_ID, VISIT_ID, PATIENT_ID) VALUES (N'M', 1, 1)");
    EXPECT_EQ(db.QueryFirstColumn("SELECT count(*) FROM PATIENTVISIT"), std::vector<std::string>{"1"});
}

TEST_F(StandinDriver, CatalogueQueriesAnswerFromTheServersDatabases) {
    const std::string other = "D:\\Data\\Patient.MDF";
    Configure("[standin]\ndrive_d = drive_d\n\n[server localhost\\SQLKOR]\ndatabase PATIENT = " + other +
              "\nlog PATIENT = D:\\Data\\Patient_log.LDF\n");
    OdbcConnection master;
    ASSERT_TRUE(master.Open(kMaster));
    EXPECT_EQ(master.QueryFirstColumn("SELECT count(*) FROM sys.databases WHERE name = N'PATIENT'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(master.QueryFirstColumn("SELECT count(*) FROM sys.databases WHERE name = N'patient'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(master.QueryFirstColumn("SELECT count(*) FROM sys.databases WHERE name = N'OTHER'"),
              std::vector<std::string>{"0"});
    EXPECT_EQ(master.QueryFirstColumn("SELECT count(*) FROM sys.databases WHERE name = N'master'"),
              std::vector<std::string>{"1"});
    const std::string files =
        "SELECT physical_name FROM master.sys.master_files WHERE database_id in (SELECT dbid from "
        "master.sys.sysdatabases where name = N'%s')";
    auto filesOf = [&](const std::string& name) {
        std::string sql = files;
        sql.replace(sql.find("%s"), 2, name);
        return master.QueryFirstColumn(sql);
    };
    EXPECT_EQ(filesOf("PATIENT"), (std::vector<std::string>{other, "D:\\Data\\Patient_log.LDF"}));
    EXPECT_TRUE(filesOf("OTHER").empty());
}

TEST_F(StandinDriver, DetachTimesOutUntilTheDatabaseIsSingleUser) {
    fs::path data = MakeDatabase(kLocalFile);
    Configure("[server localhost\\SQLKOR]\ndetach_timeout = until_single_user\ndatabase PATIENT = " + kLocalFile +
              "\n");
    OdbcConnection master;
    ASSERT_TRUE(master.Open(kMaster));
    const std::string detach = "sp_detach_db @dbname = 'PATIENT', @skipchecks = true";
    std::string text = ExecuteError(master, detach);
    EXPECT_NE(text.find("Query timeout expired (State:HYT00"), std::string::npos) << text;
    EXPECT_EQ(master.QueryFirstColumn("SELECT count(*) FROM sys.databases WHERE name = N'PATIENT'"),
              std::vector<std::string>{"1"});

    master.Execute("alter database PATIENT set single_user with rollback immediate");
    EXPECT_EQ(master.QueryFirstColumn("SELECT user_access_desc FROM sys.databases WHERE name = N'PATIENT'"),
              std::vector<std::string>{"SINGLE_USER"});
    master.Execute(detach);
    EXPECT_EQ(master.QueryFirstColumn("SELECT count(*) FROM sys.databases WHERE name = N'PATIENT'"),
              std::vector<std::string>{"0"});
    EXPECT_TRUE(fs::exists(data)) << "a detach leaves the file";
    EXPECT_NE(OpenError(kPatient).find("Cannot open database"), std::string::npos);

    text = ExecuteError(master, detach);
    EXPECT_NE(text.find("The database 'PATIENT' does not exist."), std::string::npos) << text;
    text = ExecuteError(master, "alter database PATIENT set single_user with rollback immediate");
    EXPECT_NE(text.find("State:42000,Native:5011"), std::string::npos) << text;
}

TEST_F(StandinDriver, DetachFailsWhenTheServerAlwaysTimesOutOrTheFileIsGone) {
    fs::path data = MakeDatabase(kLocalFile);
    Configure("[server localhost\\SQLKOR]\ndetach_timeout = always\ndatabase PATIENT = " + kLocalFile + "\n");
    OdbcConnection master;
    ASSERT_TRUE(master.Open(kMaster));
    master.Execute("alter database PATIENT set single_user with rollback immediate");
    EXPECT_NE(ExecuteError(master, "sp_detach_db @dbname = 'PATIENT', @skipchecks = true").find("Query timeout"),
              std::string::npos);
    master.Execute("alter database PATIENT set multi_user");

    Configure("[server localhost\\SQLKOR]\n");  // the state file keeps the database
    master.Close();
    ASSERT_TRUE(master.Open(kMaster));
    fs::remove(data);
    std::string text = ExecuteError(master, "sp_detach_db @dbname = 'PATIENT', @skipchecks = true");
    EXPECT_NE(text.find("Unable to open the physical file"), std::string::npos) << text;
    EXPECT_EQ(master.QueryFirstColumn("SELECT state_desc FROM sys.databases WHERE name = N'PATIENT'"),
              std::vector<std::string>{"RECOVERY_PENDING"});
    master.Execute("drop database PATIENT");
    EXPECT_EQ(master.QueryFirstColumn("SELECT count(*) FROM sys.databases WHERE name = N'PATIENT'"),
              std::vector<std::string>{"0"});
    text = ExecuteError(master, "drop database PATIENT");
    EXPECT_NE(text.find("Cannot drop the database 'PATIENT', because it does not exist"), std::string::npos) << text;
}

TEST_F(StandinDriver, AttachNeedsAWritableDatabaseFileAndRebuildsTheLog) {
    Configure("[server localhost\\SQLKOR]\n");
    OdbcConnection master;
    ASSERT_TRUE(master.Open(kMaster));
    const std::string attach = "CREATE DATABASE PATIENT ON (FILENAME = N'" + kLocalFile + "') FOR ATTACH_REBUILD_LOG";
    std::string text = ExecuteError(master, attach);
    EXPECT_NE(text.find("Operating system error 2"), std::string::npos) << text;

    fs::path data = MakeDatabase(kLocalFile);
    fs::permissions(data, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    text = ExecuteError(master, attach);
    EXPECT_NE(text.find("Operating system error 5: \"5(Access is denied.)\""), std::string::npos) << text;
    EXPECT_EQ(master.QueryFirstColumn("SELECT count(*) FROM sys.databases WHERE name = N'PATIENT'"),
              std::vector<std::string>{"0"});

    fs::permissions(data, fs::perms::owner_write, fs::perm_options::add);
    master.Execute(attach);
    // The rebuilt log has the name the tool deletes before an attach, also on a case-sensitive disk.
    EXPECT_TRUE(fs::exists(OnDriveC("C:\\SCANSUITE\\db_repository\\PATIENT_Log.ldf")));
    EXPECT_FALSE(fs::exists(OnDriveC("C:\\SCANSUITE\\db_repository\\PATIENT_log.ldf")));
    auto files = master.QueryFirstColumn(
        "SELECT physical_name FROM master.sys.master_files WHERE database_id in (SELECT dbid from "
        "master.sys.sysdatabases where name = N'PATIENT')");
    EXPECT_EQ(files, (std::vector<std::string>{kLocalFile, "C:\\SCANSUITE\\db_repository\\PATIENT_Log.ldf"}));
    EXPECT_EQ(master.QueryFirstColumn("SELECT database_id FROM sys.databases WHERE name = N'PATIENT'"),
              std::vector<std::string>{"5"});
    {
        OdbcConnection inUse;
        ASSERT_TRUE(inUse.Open(kPatient));
        text = ExecuteError(inUse, "sp_detach_db @dbname = 'PATIENT', @skipchecks = true");
        EXPECT_NE(text.find("currently in use. (State:42000,Native:3703)"), std::string::npos) << text;
        EXPECT_NE(ExecuteError(inUse, "drop database PATIENT").find("currently in use"), std::string::npos);
    }

    text = ExecuteError(master, attach);
    EXPECT_NE(text.find("Database 'PATIENT' already exists."), std::string::npos) << text;

    // Not a database at all: the header is refused.
    const std::string junk = "C:\\SCANSUITE\\junk.mdf";
    std::ofstream(OnDriveC(junk)) << "not a database";
    text = ExecuteError(master, "CREATE DATABASE JUNK ON (FILENAME = N'" + junk + "') FOR ATTACH_REBUILD_LOG");
    EXPECT_NE(text.find("is not a valid database file header"), std::string::npos) << text;

    // A drop deletes the files of the database it removes.
    master.Execute("drop database PATIENT");
    EXPECT_FALSE(fs::exists(data));
    EXPECT_FALSE(fs::exists(OnDriveC("C:\\SCANSUITE\\db_repository\\PATIENT_Log.ldf")));
}

TEST_F(StandinDriver, EveryStatementIsLoggedWithItsTarget) {
    MakeDatabase(kLocalFile);
    Configure("[server localhost\\SQLKOR]\ndatabase PATIENT = " + kLocalFile + "\n\n[refuse_insert]\nVISIT =\n");
    OdbcConnection master;
    ASSERT_TRUE(master.Open(kMaster));
    master.QueryFirstColumn("SELECT count(*) FROM sys.databases WHERE name = N'PATIENT'");
    OdbcConnection db;
    ASSERT_TRUE(db.Open(kPatient));
    EXPECT_THROW(db.Execute("Insert into VISIT (MACHINE_ID) VALUES (N'x')"), DbError);
    EXPECT_THROW(db.Execute("SELECT nonsense FROM"), DbError);
    EXPECT_EQ(Log(),
              "MASTER@localhost\\SQLKOR\tSELECT count(*) FROM sys.databases WHERE name = N'PATIENT'\n"
              "PATIENT@localhost\\SQLKOR\tInsert into VISIT (MACHINE_ID) VALUES (N'x')\n"
              "PATIENT@localhost\\SQLKOR\tSELECT nonsense FROM\n");
}

// UPPER() and the case-insensitive columns fold every letter of the code page, as SQL Server's default collation.
TEST_F(StandinDriver, AccentedLettersCompareWithoutCase) {
    MakeDatabase(kLocalFile);
    Configure("[server localhost\\SQLKOR]\ndatabase PATIENT = " + kLocalFile + "\n");
    OdbcConnection db;
    ASSERT_TRUE(db.Open(kPatient));
    db.Execute(
        "INSERT INTO SYSMACHINES (SYS_ID, SYS_NAME, SYS_PRODUCT) VALUES (1, N'WS\xc9"
        "01', N'P1')");
    EXPECT_EQ(db.QueryFirstColumn("SELECT SYS_PRODUCT FROM SYSMACHINES WHERE SYS_NAME = N'ws\xe9"
                                  "01'"),
              std::vector<std::string>{"P1"});
    EXPECT_EQ(db.QueryFirstColumn("SELECT SYS_PRODUCT FROM SYSMACHINES WHERE SYS_NAME = N'ws"
                                  "e01'"),
              std::vector<std::string>{});
    db.Execute(
        "INSERT INTO Patient ([LNAME], [FName], [DOB], [EMR_ID]) VALUES (N'M\xfcller', N'\xc9lo\xefse', "
        "N'1/2/1960', N'\xe9"
        "1')");
    EXPECT_EQ(db.QueryFirstColumn("SELECT count(*) FROM Patient WHERE UPPER(LNAME)=N'M\xdcLLER' AND "
                                  "UPPER(FNAME)=N'\xc9LO\xcfSE' AND DOB=N'1/2/1960'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(db.QueryFirstColumn("SELECT count(*) From Patient WHERE UPPER(EMR_ID) = N'\xc9"
                                  "1'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(db.QueryFirstColumn("SELECT count(*) FROM Patient WHERE LNAME LIKE N'm\xfc%' AND EMR_ID LIKE N'[\xe9]_'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(db.QueryFirstColumn("SELECT LOWER(UPPER(N'\x9a\x9c\x9e\xff\xdf'))"),
              std::vector<std::string>{"\x9a\x9c\x9e\xff\xdf"});
}

// Any text inside N'...' reaches storage and comes back byte for byte, and UPPER() finds it again.
TEST_F(StandinDriver, EveryLiteralValueIsStoredAndReadBackUnchanged) {
    MakeDatabase(kLocalFile);
    Configure("[server localhost\\SQLKOR]\ndatabase PATIENT = " + kLocalFile + "\n");
    OdbcConnection db;
    ASSERT_TRUE(db.Open(kPatient));
    auto literal = [](const std::string& value) {
        std::string quoted = "N'";
        for (char c : value) quoted += c == '\'' ? std::string("''") : std::string(1, c);
        return quoted + "'";
    };
    std::vector<std::string> values = {"",       "'",     "''",           "N'",   "x'ab'", "]",  "[a][b]", "\"",
                                       "--",     "/*",    "*/",           ";",    "\\",    "%s", " lead",  "trail ",
                                       "\t\r\n", "dbo.x", "master.sys.t", "a'N'b"};
    std::mt19937 random(20240304);
    for (int i = 0; i < 300; ++i) {
        std::string value(random() % 24, ' ');
        for (char& c : value) c = static_cast<char>(1 + random() % 255);
        values.push_back(value);
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string& value = values[i];
        const std::string key = literal("key" + std::to_string(i));
        db.Execute("INSERT INTO Patient ([LNAME], [FName], [EMR_ID]) VALUES (" + literal(value) + "," + literal(value) +
                   "," + key + ")");
        ASSERT_EQ(db.QueryFirstColumn("SELECT LNAME FROM Patient WHERE EMR_ID = " + key),
                  std::vector<std::string>{value})
            << "value " << i;
        ASSERT_EQ(db.QueryFirstColumn(
                      "SELECT count(*) FROM Patient WHERE UPPER(LNAME)=" + literal(standin::UpperAnsi(value)) +
                      " AND FNAME=" + literal(value) + " AND EMR_ID=" + key),
                  std::vector<std::string>{"1"})
            << "value " << i;
    }
    // Literals that touch are two literals, the second an alias of the first.
    EXPECT_EQ(db.QueryFirstColumn("SELECT N'a'N'b'"), std::vector<std::string>{"a"});
}

// Every open is recorded, refused ones with their error, the password masked; braced values are understood.
TEST_F(StandinDriver, OpensAreRecordedWithThePasswordMasked) {
    Configure("[server localhost\\SQLKOR]\npassword = se;cr}e{t\n");
    OdbcConnection master;
    ASSERT_TRUE(master.Open("Driver={SQL Server};Server=localhost\\SQLKOR;Database=MASTER;Uid=sa;Pwd={se;cr}}e{t};"));
    EXPECT_NE(OpenError("Driver={SQL Server};Server={localhost\\SQLKOR};Database=MASTER;Uid=sa;Pwd=se;cr}e{t;")
                  .find("Login failed"),
              std::string::npos);
    EXPECT_EQ(ReadFile(folder_ / "connections.log"),
              "ok\tSQL Server\tlocalhost\\SQLKOR\tMASTER\tsa\t"
              "Driver={SQL Server};Server=localhost\\SQLKOR;Database=MASTER;Uid=sa;Pwd=***;\n"
              "refused 28000 [Microsoft][ODBC SQL Server Driver][SQL Server]Login failed for user 'sa'.\t"
              "SQL Server\tlocalhost\\SQLKOR\tMASTER\tsa\t"
              "Driver={SQL Server};Server={localhost\\SQLKOR};Database=MASTER;Uid=sa;Pwd=***;cr}e{t;\n");
}

// Faults fail the matching statements or opens at the programmed occurrences, counted across connections.
TEST_F(StandinDriver, ProgrammedFaultsFailTheirOccurrences) {
    MakeDatabase(kLocalFile);
    Configure("[server localhost\\SQLKOR]\ndatabase PATIENT = " + kLocalFile +
              "\n\n[fault slow count]\nstatement = select count(*) from patient*\noccurrence = 2, 4+\n"
              "message = [Microsoft][ODBC SQL Server Driver]Query timeout expired\nstate = HYT00\nnative = 0\n\n"
              "[fault patient open]\nopen = *;Database=PATIENT;*\noccurrence = 1\n");
    std::string text = OpenError(kPatient);
    EXPECT_NE(text.find("[Microsoft][ODBC SQL Server Driver][SQL Server]Fault patient open programmed by the test. "
                        "(State:08001,Native:0)"),
              std::string::npos)
        << text;
    const std::string count = "SELECT count(*) FROM Patient WHERE UPPER(LNAME)=N'X'";
    std::vector<std::string> outcomes;
    for (int connection = 0; connection < 2; ++connection) {
        OdbcConnection db;
        ASSERT_TRUE(db.Open(kPatient));
        for (int i = 0; i < 3; ++i) outcomes.push_back(ExecuteError(db, count));
        EXPECT_EQ(db.QueryFirstColumn("SELECT count(*) FROM VISIT"), std::vector<std::string>{"0"});
    }
    ASSERT_EQ(outcomes.size(), 6u);
    for (std::size_t i : {0u, 2u}) EXPECT_EQ(outcomes[i], "(ran)") << i;
    for (std::size_t i : {1u, 3u, 4u, 5u})
        EXPECT_NE(outcomes[i].find("[Microsoft][ODBC SQL Server Driver]Query timeout expired (State:HYT00"),
                  std::string::npos)
            << i << ": " << outcomes[i];
}

}  // namespace
