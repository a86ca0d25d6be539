// The T-SQL the stand-in receives: translation for SQLite and recognition of the server-level commands.
#include <gtest/gtest.h>

#include "standin/core/Sql.h"

namespace {

using standin::InsertTable;
using standin::ParseServerCommand;
using standin::ServerCommand;
using standin::ToSqlite;
using standin::UsesSysViews;

TEST(SqlTranslation, NationalLiteralsAndBracketedNamesBecomeSqlite) {
    EXPECT_EQ(ToSqlite("SELECT count(*) From Patient WHERE UPPER(EMR_ID) = N'AB12'"),
              "SELECT count(*) From Patient WHERE UPPER(EMR_ID) = 'AB12'");
    EXPECT_EQ(ToSqlite("INSERT INTO Patient ([MACHINE_ID], [LNAME]) VALUES (N'X', N'O''Neil')"),
              "INSERT INTO Patient (\"MACHINE_ID\", \"LNAME\") VALUES ('X', 'O''Neil')");
    EXPECT_EQ(ToSqlite("UPPER(LNAME)=N'A' AND DOB=n'1970'"), "UPPER(LNAME)='A' AND DOB='1970'");
    // Only a literal's own N prefix goes; names ending in N and N inside literals stay.
    EXPECT_EQ(ToSqlite("SELECT MIN FROM t WHERE a = 'N''x' AND [we]]ird] = N'[no]'"),
              "SELECT MIN FROM t WHERE a = 'N''x' AND \"we]ird\" = '[no]'");
    EXPECT_EQ(ToSqlite("SELECT \"a\"\"b\" -- N'comment'\nFROM t"), "SELECT \"a\"\"b\" -- N'comment'\nFROM t");
    EXPECT_EQ(ToSqlite("SELECT 'unterminated"), "SELECT 'unterminated'");
}

TEST(SqlTranslation, CatalogueQualifiersAreDropped) {
    EXPECT_EQ(ToSqlite("SELECT physical_name FROM master.sys.master_files WHERE database_id in (SELECT dbid from "
                       "master.sys.sysdatabases where name = N'PATIENT')"),
              "SELECT physical_name FROM sys.master_files WHERE database_id in (SELECT dbid from sys.sysdatabases "
              "where name = 'PATIENT')");
    EXPECT_EQ(ToSqlite("SELECT x FROM dbo.Patient, [dbo].[VISIT], master.dbo.t, other.dbo"),
              "SELECT x FROM Patient, \"VISIT\", t, other.dbo");
    EXPECT_TRUE(UsesSysViews("SELECT count(*) FROM sys.databases WHERE name = N'x'"));
    EXPECT_TRUE(UsesSysViews("SELECT 1 FROM MASTER.SYS.master_files"));
    EXPECT_FALSE(UsesSysViews("SELECT sys FROM t WHERE n = N'sys.databases'"));
}

TEST(SqlTranslation, ServerCommandsOfTheMaintenance) {
    ServerCommand c = ParseServerCommand("alter database PATIENT set single_user with rollback immediate");
    EXPECT_EQ(c.kind, ServerCommand::kSingleUser);
    EXPECT_EQ(c.database, "PATIENT");
    EXPECT_EQ(ParseServerCommand("ALTER DATABASE [PATIENT] SET MULTI_USER").kind, ServerCommand::kMultiUser);

    c = ParseServerCommand("sp_detach_db @dbname = 'PATIENT', @skipchecks = true");
    EXPECT_EQ(c.kind, ServerCommand::kDetach);
    EXPECT_EQ(c.database, "PATIENT");
    c = ParseServerCommand("EXEC sp_detach_db N'O''Db'");
    EXPECT_EQ(c.kind, ServerCommand::kDetach);
    EXPECT_EQ(c.database, "O'Db");

    c = ParseServerCommand("drop database PATIENT");
    EXPECT_EQ(c.kind, ServerCommand::kDrop);
    EXPECT_EQ(c.database, "PATIENT");

    c = ParseServerCommand(
        "CREATE DATABASE PATIENT ON (FILENAME = N'C:\\SCANSUITE\\db_repository\\PATIENT.mdf') FOR ATTACH_REBUILD_LOG");
    EXPECT_EQ(c.kind, ServerCommand::kAttach);
    EXPECT_EQ(c.database, "PATIENT");
    EXPECT_EQ(c.dataFile, "C:\\SCANSUITE\\db_repository\\PATIENT.mdf");
    EXPECT_EQ(ParseServerCommand("create database X on (filename = 'a.mdf'), (filename = 'a.ldf') for attach").dataFile,
              "a.mdf");
    EXPECT_EQ(ParseServerCommand("CREATE DATABASE X").kind, ServerCommand::kCreate);

    for (const char* other : {"SELECT count(*) FROM sys.databases", "alter database PATIENT set offline",
                              "drop table Patient", "INSERT INTO t VALUES ('drop database PATIENT')", ""})
        EXPECT_EQ(ParseServerCommand(other).kind, ServerCommand::kNone) << other;
}

TEST(SqlTranslation, InsertTargets) {
    EXPECT_EQ(InsertTable("INSERT INTO Patient ([MACHINE_ID]) VALUES (N'x')"), "Patient");
    EXPECT_EQ(InsertTable("Insert into VISIT (MACHINE_ID) VALUES (N'x')"), "VISIT");
    EXPECT_EQ(InsertTable("insert [dbo].[PATIENTVISIT] values (1)"), "PATIENTVISIT");
    EXPECT_EQ(InsertTable("SELECT 'INSERT INTO Patient'"), "");
    EXPECT_EQ(InsertTable("UPDATE Patient SET x = 1"), "");
}

// Rewritten tokens never join their neighbours: touching literals stay two literals, and a shortened name keeps
// the tokens around it.
TEST(SqlTranslation, TouchingTokensStaySeparate) {
    EXPECT_EQ(ToSqlite("SELECT N'a'N'b'"), "SELECT 'a' 'b'");
    EXPECT_EQ(ToSqlite("SELECT N'a''b'"), "SELECT 'a''b'");
    EXPECT_EQ(ToSqlite("SELECT [a][b]"), "SELECT \"a\" \"b\"");
    EXPECT_EQ(ToSqlite("SELECT x'ab'"), "SELECT x 'ab'") << "x'..' would be a blob to SQLite";
    EXPECT_EQ(ToSqlite("SELECT 1e5, 0x1F, a<>b, 2.5"), "SELECT 1e5, 0x1F, a<>b, 2.5") << "untouched tokens stay";
    EXPECT_EQ(ToSqlite("SELECT*FROM[dbo].[Patient]WHERE[LNAME]=N'a'"), "SELECT*FROM \"Patient\" WHERE \"LNAME\"='a'");
    EXPECT_EQ(ToSqlite("SELECT a FROM(SELECT 1 a)x,dbo.t,master.sys.databases,p.q.dbo.r;"),
              "SELECT a FROM(SELECT 1 a)x,t,sys.databases,r;");
    EXPECT_EQ(ToSqlite("SELECT x FROM master..t WHERE a.b = 1 AND dbo.x=N'dbo.y'"),
              "SELECT x FROM t WHERE a.b = 1 AND x='dbo.y'");
    EXPECT_EQ(ToSqlite("SELECT a /* [x] N'y' */ FROM t -- dbo.t\n"), "SELECT a /* [x] N'y' */ FROM t -- dbo.t\n");
    EXPECT_EQ(ToSqlite("SELECT dbo . t, dbo., dbo"), "SELECT t, dbo., dbo");
    EXPECT_EQ(ToSqlite("SELECT a.dbo.b.c, dbo..x, x.sys..y, master.sys.dbo.t"), "SELECT b.c, x, y, t");
}

}  // namespace
