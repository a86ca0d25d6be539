#include <gtest/gtest.h>

#include "enrolix/core/SiteConfig.h"
#include "enrolix/testing/ToolFixture.h"
#include "platform/ConnectionString.h"

namespace enrolix::test {
namespace {

using platform::FindConnectField;

class SiteConfigTest : public ToolFixture {};

TEST_F(SiteConfigTest, SoftwareFolderIsCutBeforeTheFirstBin) {
    struct Case {
        const char* current;
        const char* folder;
        const char* tomoCfg;
        const char* mdf;
    };
    const Case cases[] = {
        {"C:\\SCANSUITE\\bin", "C:\\SCANSUITE\\", "C:\\SCANSUITE\\\\bin\\TomoCfg.ini",
         "C:\\SCANSUITE\\db_repository\\PATIENT.mdf"},
        {"C:\\Tools", "C:\\Tools", "C:\\Tools\\bin\\TomoCfg.ini", "C:\\Toolsdb_repository\\PATIENT.mdf"},
        {"C:\\cabinet\\bin", "C:\\ca", "C:\\ca\\bin\\TomoCfg.ini", "C:\\cadb_repository\\PATIENT.mdf"},
        {"C:\\Scan\\BIN", "C:\\Scan\\BIN", "C:\\Scan\\BIN\\bin\\TomoCfg.ini",
         "C:\\Scan\\BINdb_repository\\PATIENT.mdf"},
    };
    for (const auto& c : cases) {
        files.currentDirectory = c.current;
        EXPECT_EQ(GetSoftwareFolder(tool), c.folder) << c.current;
        EXPECT_EQ(TomoCfgPath(tool), c.tomoCfg) << c.current;
        EXPECT_EQ(LocalDatabaseFile(tool, true), c.mdf) << c.current;
    }
    files.currentDirectory = "C:\\SCANSUITE\\bin";
    EXPECT_EQ(LocalDatabaseFile(tool, false), kLocalIb);
}

TEST_F(SiteConfigTest, SiteSettingsAreTrimmedAndCut) {
    files.AddFile(kTomoCfg, "[Server Connection]\r\nServer=  CENTRAL01 \t\r\n[System Parameters]\r\nDatabase=" +
                                std::string(200, 'd') + "\r\n");
    EXPECT_EQ(ReadSiteSetting(tool, "Server Connection", "Server"), "CENTRAL01");
    EXPECT_EQ(ReadSiteSetting(tool, "System Parameters", "Database"), std::string(126, 'd'));
    EXPECT_EQ(ReadSiteSetting(tool, "Nothing", "Here"), "");
    EXPECT_TRUE(WriteSiteSetting(tool, "", "Server Connection", "Server", ""));
    EXPECT_EQ(Ini(kTomoCfg, "Server Connection", "Server"), "");
}

TEST_F(SiteConfigTest, MachineNameFromSystemSetOrComputerName) {
    system.computerName = "  WS01 ";
    EXPECT_EQ(GetMachineName(tool), "WS01");

    Tool other{profile, files, boxes, clock, system, server};
    files.AddFile(kSystemSetIni, "[Machine]\r\nMachineName= " + std::string(80, 'M') + "\r\n");
    EXPECT_EQ(GetMachineName(other), std::string(63, 'M'));
    EXPECT_EQ(GetMachineName(tool), "WS01");  // kept for the run
}

TEST_F(SiteConfigTest, DatabaseKindIsSqlServerInAnyCaseAndWorkedOutOnce) {
    EXPECT_EQ(IsSQLServerDatabase(tool), 0);  // no TomoCfg.ini: InterBase
    profile.Write(kTomoCfg, "System Parameters", "Database", "sql server");
    EXPECT_EQ(IsSQLServerDatabase(tool), 0);

    Tool fresh{profile, files, boxes, clock, system, server};
    EXPECT_EQ(IsSQLServerDatabase(fresh), 1);
    profile.Write(kTomoCfg, "System Parameters", "Database", "SQL Server 2019");
    Tool another{profile, files, boxes, clock, system, server};
    EXPECT_EQ(IsSQLServerDatabase(another), 0);
}

TEST_F(SiteConfigTest, ConnectStringsFromDefaultsAndSqlInstall) {
    EXPECT_EQ(BuildSQLConnectString(tool, "PATIENT", "localhost"),
              "Driver={SQL Server};Server=localhost\\SQLKOR;Database=PATIENT;Uid=sa;Pwd=tumbleoak;");
    files.AddFile(kSqlInstallIni, "[Options]\r\nSAPWD=velvetoak#317\r\nINSTANCENAME=AVERYLONGINSTANCENAME\r\n", true);
    EXPECT_EQ(BuildSQLConnectString(tool, "MASTER", "CENTRAL01"),
              "Driver={SQL Server};Server=CENTRAL01\\AVERYLONGINSTAN;Database=MASTER;Uid=sa;Pwd=velvetoak#317;");
    EXPECT_EQ(BuildIBConnectString("localhost", kLocalIb),
              "ODBC;DRIVER={Gemini InterBase ODBC Driver 2.0};SERVER=localhost;DATABASE=C:\\SCANSUITE\\db_repository\\"
              "PATIENT.ib;UID=SYSDBA;PWD=tumbleoak;");
}

// Site values that hold ";", "{" or "}" are braced: each reads back as itself and adds or changes no key.
TEST_F(SiteConfigTest, ConnectStringValuesCannotAddKeys) {
    files.AddFile(kSqlInstallIni, "[Options]\r\nSAPWD=x;Database=EVIL;Uid=evil\r\nINSTANCENAME=in}st{\r\n", true);
    const std::string sql = BuildSQLConnectString(tool, "PATIENT", "srv;Trusted_Connection=yes");
    EXPECT_EQ(sql,
              "Driver={SQL Server};Server={srv;Trusted_Connection=yes\\in}}st{};Database=PATIENT;Uid=sa;"
              "Pwd={x;Database=EVIL;Uid=evil};");
    EXPECT_EQ(FindConnectField(sql, "Server")->value, "srv;Trusted_Connection=yes\\in}st{");
    EXPECT_EQ(FindConnectField(sql, "database")->value, "PATIENT");
    EXPECT_EQ(FindConnectField(sql, "UID")->value, "sa");
    EXPECT_EQ(FindConnectField(sql, "Pwd")->value, "x;Database=EVIL;Uid=evil");
    EXPECT_FALSE(FindConnectField(sql, "Trusted_Connection"));

    const std::string ib = BuildIBConnectString("localhost", "C:\\a;b {c}\\db_repository\\PATIENT.ib");
    EXPECT_EQ(ib,
              "ODBC;DRIVER={Gemini InterBase ODBC Driver 2.0};SERVER=localhost;DATABASE={C:\\a;b {c}}\\db_repository\\"
              "PATIENT.ib};UID=SYSDBA;PWD=tumbleoak;");
    EXPECT_EQ(FindConnectField(ib, "DATABASE")->value, "C:\\a;b {c}\\db_repository\\PATIENT.ib");
    EXPECT_EQ(FindConnectField(ib, "UID")->value, "SYSDBA");
    EXPECT_EQ(FindConnectField(ib, "pwd")->value, "tumbleoak");
    EXPECT_EQ(FindConnectField("Pwd={a}}", "Pwd")->value, "a}") << "an unclosed brace runs to the end";

    // White space at the ends of a value survives the reading.
    const std::string spaced = BuildIBConnectString("\tsrv", "C:\\db\\PATIENT.ib ");
    EXPECT_EQ(spaced,
              "ODBC;DRIVER={Gemini InterBase ODBC Driver 2.0};SERVER={\tsrv};DATABASE={C:\\db\\PATIENT.ib };"
              "UID=SYSDBA;PWD=tumbleoak;");
    EXPECT_EQ(FindConnectField(spaced, "SERVER")->value, "\tsrv");
    EXPECT_EQ(FindConnectField(spaced, "DATABASE")->value, "C:\\db\\PATIENT.ib ");
}

}  // namespace
}  // namespace enrolix::test
