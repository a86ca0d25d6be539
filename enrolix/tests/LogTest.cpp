#include <gtest/gtest.h>

#include <stdexcept>

#include "enrolix/core/Log.h"
#include "enrolix/testing/ToolFixture.h"

namespace enrolix::test {
namespace {

class LogTest : public ToolFixture {};

TEST_F(LogTest, WritesBracketLinesWithLocalTimeAndErrorMark) {
    WriteLogFile(tool, kLogNormal, "first", kLogFile, kLogLimit, 0);
    WriteLogFile(tool, kLogError, "second", kLogFile, kLogLimit, 0);
    EXPECT_EQ(Log(), "[02/05/2015 23:48:30] first\n[02/05/2015 23:48:30, ERROR] second\n");
    EXPECT_TRUE(files.HasFolder(kLogFolder));
}

TEST_F(LogTest, ColumnFormAndHeaderOnlyAtTopOfNewOrEmptiedFile) {
    WriteLogFile(tool, kLogHeader, "Service", "Columns.log", 100, 1);
    WriteLogFile(tool, kLogNormal, "started", "Columns.log", 100, 1);
    WriteLogFile(tool, kLogHeader, "Service", "Columns.log", 100, 1);  // file exists below the limit: nothing
    WriteLogFile(tool, kLogError, "broke", "Columns.log", 100, 1);
    const std::string path = "C:\\Orvanta\\Logs\\Columns.log";
    EXPECT_EQ(files.Content(path),
              "Time, Type, Service\n 02/05/2015 23:48:30, Normal, started\n 02/05/2015 23:48:30, ERROR, broke\n");

    files.AddFile(path, std::string(100, 'x'));
    WriteLogFile(tool, kLogHeader, "Again", "Columns.log", 100, 1);
    EXPECT_EQ(files.Content(path), "Time, Type, Again\n");
}

TEST_F(LogTest, EmptiesFileAtTheLimitAndAppendsBelowIt) {
    const std::string below(kLogLimit - 1, 'a');
    files.AddFile(kLogPath, below);
    WriteLogFile(tool, kLogNormal, "kept", kLogFile, kLogLimit, 0);
    EXPECT_EQ(Log(), below + "[02/05/2015 23:48:30] kept\n");

    files.AddFile(kLogPath, std::string(kLogLimit, 'b'));
    WriteLogFile(tool, kLogNormal, "fresh", kLogFile, kLogLimit, 0);
    EXPECT_EQ(Log(), "[02/05/2015 23:48:30] fresh\n");
}

TEST_F(LogTest, MessageTextIsNeverAFormat) {
    WriteLogFile(tool, kLogNormal, "100%d %s %n", kLogFile, kLogLimit, 0);
    LogMessage(tool, kLogError, "%s", "50%d %s");
    LogMessage(tool, kLogNormal, "count=%d", 7);
    EXPECT_EQ(Log(),
              "[02/05/2015 23:48:30] 100%d %s %n\n[02/05/2015 23:48:30, ERROR] 50%d %s\n"
              "[02/05/2015 23:48:30] count=7\n");
}

TEST_F(LogTest, LogMessageCutsLongTextToItsBuffer) {
    const std::string huge(40000, 'z');
    LogMessage(tool, kLogNormal, "%s", huge.c_str());
    EXPECT_EQ(Log(), "[02/05/2015 23:48:30] " + std::string(kLogMessageBuffer - 1, 'z') + "\n");
}

TEST_F(LogTest, MissingOrvantaFolderDropsTheLineAndPrintsTheFailure) {
    files.Forget("C:\\Orvanta\\Database");
    files.Forget("C:\\Orvanta");
    testing::internal::CaptureStdout();
    WriteLogFile(tool, kLogNormal, "lost", kLogFile, kLogLimit, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Fail to write log to file Enrolix.log");
    EXPECT_FALSE(files.HasFile(kLogPath));
    EXPECT_FALSE(files.HasFolder(kLogFolder));
}

TEST_F(LogTest, EmptyFileNameWritesNothing) {
    testing::internal::CaptureStdout();
    WriteLogFile(tool, kLogNormal, "nowhere", "", kLogLimit, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(files.HasFolder(kLogFolder));
}

TEST_F(LogTest, GuardReportsDatabaseErrorsWithItsOwnLineAndOtherExceptionsPlainly) {
    const unsigned line = __LINE__ + 1;
    bool ran = Guarded(tool, "CreateDBPatient", [] { throw platform::DbError("[SQL Server]Invalid column"); });
    EXPECT_FALSE(ran);
    EXPECT_TRUE(Guarded(tool, "main", [] {}));
    EXPECT_FALSE(Guarded(tool, "main", [] { throw std::runtime_error("boom"); }));
    EXPECT_EQ(Log(), "[02/05/2015 23:48:30, ERROR] Exception in File: Enrolix Line " + std::to_string(line) +
                         " function=CreateDBPatient ex=[SQL Server]Invalid column\n"
                         "[02/05/2015 23:48:30, ERROR] Exception in Enrolix\n");
}

TEST_F(LogTest, GuardCutsErrorTextAndCanLetOtherExceptionsThrough) {
    Guarded(tool, "main", [] { throw platform::DbError(std::string(3000, 'e')); });
    EXPECT_NE(Log().find(" ex=" + std::string(1023, 'e') + "\n"), std::string::npos);

    bool reached = false;
    EXPECT_THROW(Guarded<Catches::DbErrorsOnly>(tool, "CreateDBPatient",
                                                [&] {
                                                    reached = true;
                                                    throw std::logic_error("not a database error");
                                                }),
                 std::logic_error);
    EXPECT_TRUE(reached);
    EXPECT_FALSE(Guarded<Catches::DbErrorsOnly>(tool, "CreateDBPatient", [] { throw platform::DbError("x"); }));
}

}  // namespace
}  // namespace enrolix::test
