#include "plugin/core/OrvantaObject.h"
#include "plugin/core/PluginLog.h"
#include "plugin/core/Trap.h"
#include "plugin/testing/PluginFixture.h"

namespace orvanta::test {
namespace {

using ::testing::ElementsAre;

constexpr const char* kStamp = "02-05-2015  11:48:30 PM";

class PluginLog : public PluginFixture {};

TEST_F(PluginLog, EveryRecordStartsWithAnEmptyLine) {
    WritePluginLog(services, u" first");
    WritePluginLog(services, u" second");
    WritePluginLog(services, u"third");
    std::string content = PluginFile("Orvanta.log");
    EXPECT_THAT(CrLfLines(content), ElementsAre("", std::string(kStamp) + " first", "", std::string(kStamp) + " second",
                                                "", std::string(kStamp) + "third"));
    EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
}

TEST_F(PluginLog, TimestampPadsDateAndFollowsTheLongTime) {
    clock.localNow = platform::fake::FixedClock::MakeTm(2026, 12, 7, 20, 22, 0);
    EXPECT_EQ(Timestamp(services), u"12-07-2026  8:22:00 PM");
    clock.localNow = platform::fake::FixedClock::MakeTm(2009, 1, 3, 0, 5, 9);
    EXPECT_EQ(Timestamp(services), u"01-03-2009  12:05:09 AM");
}

TEST_F(PluginLog, TextIsWrittenInTheAnsiCodePage) {
    WritePluginLog(services, u" M\u00fcller \u4e2d");
    EXPECT_EQ(CrLfLines(PluginFile("Orvanta.log"))[1], std::string(kStamp) + " M\xfcller ?");
}

TEST_F(PluginLog, UnwritableLogRaisesPathFileAccessError) {
    files.writesFail = true;
    try {
        WritePluginLog(services, u"x");
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), vb::kPathFileAccessError);
    }
}

TEST_F(PluginLog, ReportErrorShowsTheBoxThenAppendsTheRecord) {
    ReportError(services, u" DoDeviceFunction, ctx", VbError(vb::kTypeMismatch));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "PXEquipIF OrvantaIF Error");
    EXPECT_EQ(boxes.shown[0].text, "PXE_Orvanta IF Error Num=13  Type mismatch.\r\n DoDeviceFunction, ctx");
    EXPECT_EQ(boxes.shown[0].style.icon, platform::MsgIcon::Critical);
    EXPECT_EQ(boxes.shown[0].style.buttons, platform::MsgButtons::Ok);
    EXPECT_THAT(CrLfLines(PluginFile("PX_IF_Orvanta.err")),
                ElementsAre("", std::string(kStamp) + " Error in:  DoDeviceFunction, ctx",
                            "      Error Num=13  Type mismatch"));
    EXPECT_FALSE(HasPluginFile("Orvanta.log"));
}

TEST_F(PluginLog, ReportErrorRaisesWhenTheErrorFileCannotBeWritten) {
    files.writesFail = true;
    EXPECT_THROW(ReportError(services, u"ctx", VbError(vb::kOverflow)), VbError);
    EXPECT_EQ(boxes.shown.size(), 1u);  // the box came first
    EXPECT_FALSE(Trap::Reporting(services, [](int) { return u"ctx"; }).Run([] { throw VbError(vb::kOverflow); }));
    EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(PluginLog, ExamDataLogOnlyWithTheObjectsSwitch) {
    OrvantaObject object(services);
    Equip("[Equipment]\nWriteReceiveDataLog=YES\n");  // the file's switch does not count
    std::u16string whatDoing = u" received";
    object.WriteToLog(whatDoing);
    EXPECT_FALSE(HasPluginFile("KW_Orvanta.log"));

    object.gblnShouldWriteToLog = true;
    object.WriteToLog(whatDoing);
    object.WriteToLog(u" again");
    EXPECT_EQ(whatDoing, u" received");
    EXPECT_THAT(CrLfLines(PluginFile("KW_Orvanta.log")),
                ElementsAre("", std::string(kStamp) + " received", "", "", std::string(kStamp) + " again", ""));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PluginLog, ExamDataLogFailureIsReportedNotRaised) {
    OrvantaObject object(services);
    object.gblnShouldWriteToLog = true;
    files.writesFail = true;
    EXPECT_NO_THROW(object.WriteToLog(u"x"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "PXE_Orvanta IF Error Num=75  Path/File access error.\r\nWriteToLog");

    files.writesFail = false;
    files.AddFile("C:\\Plugin\\KW_Orvanta.log", "", /*readOnly=*/true);
    object.WriteToLog(u"x");
    EXPECT_THAT(
        CrLfLines(PluginFile("PX_IF_Orvanta.err")),
        ElementsAre("", std::string(kStamp) + " Error in: WriteToLog", "      Error Num=75  Path/File access error"));
}

}  // namespace
}  // namespace orvanta::test
