#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "check/core/CheckReport.h"
#include "check/core/ReadOnly.h"
#include "check/core/SiteChecks.h"
#include "enrolix/testing/FakeServer.h"
#include "platform/fake/FakePlatform.h"

namespace orvanta::check {
namespace {

using ::testing::HasSubstr;

class FakeProbe : public ISiteProbe {
public:
    std::string WindowsFolder() override { return "C:\\Windows"; }
    bool CanAppend(const std::string& file) override { return !locked.count(file); }
    bool CanAddFiles(const std::string& folder) override { return !locked.count(folder); }
    std::vector<std::string> OdbcDrivers() override { return drivers; }
    std::string Architecture() override { return "64-bit"; }
    std::set<std::string> locked;
    std::vector<std::string> drivers{"SQL Server"};
};

constexpr const char* kTomoCfg = "C:\\SCANSUITE\\\\bin\\TomoCfg.ini";
constexpr const char* kLocalMdf = "C:\\SCANSUITE\\db_repository\\PATIENT.mdf";
constexpr const char* kEquip =
    "[Equipment]\r\nNumber=2\r\n1=12:OCT room 2:Orvanta:Capture Sorvane\r\n2=13:OCT room 2:Orvanta:Review Sorvane\r\n"
    "[12]\r\nEquipDataPath=C:\\SorvaneExport\r\n[13]\r\nEquipDataPath=C:\\SorvaneExport\\Review\r\n";

// The demo's workstation: the host in C:\Host, one model configured, a local SQL Server with the site's database.
class SiteCheckTest : public ::testing::Test, protected platform::fake::FakePlatform {
protected:
    SiteCheckTest() {
        HostFile("praxo32.ini", "[System]\r\nDataDir=C:\\Host\\Data\r\nPgmsDir=C:\\Host\\Pgms\r\n");
        HostFile("PXEquip.ini", kEquip);
        files.AddFile("C:\\Host\\Data\\praxo.mdb", "");
        files.AddFolder("C:\\Host\\Pgms");
        files.AddFile("C:\\SCANSUITE\\bin\\Enrolix.exe", "");
        files.AddFolder("C:\\Orvanta\\Logs");
        files.AddFile("C:\\Orvanta\\SystemSet.ini", "[Machine]\r\nMachineName=WS01\r\n");
        files.AddFile("C:\\Orvanta\\Database\\SqlInstall.ini", "[Options]\r\nSAPWD=tumbleoak\r\n");
        profile.Write(kTomoCfg, "System Parameters", "Database", "SQL Server");
        server.AddServer("localhost\\SQLKOR", "tumbleoak");
        db = &server.ServeImagingDb("localhost\\SQLKOR", kLocalMdf);
        db->machines.push_back({1, std::string("WS01"), "SORV-WS01"});
    }

    // Host files are read by bare name and looked for in the Windows folder.
    void HostFile(const std::string& name, const std::string& content) {
        files.AddFile("C:\\Windows\\" + name, content);
    }

    CheckReport Run() {
        platform::fake::MemoryFileSystem before = files;
        ReadOnlyFileSystem readFiles(files, "C:\\SCANSUITE\\bin");
        ReadOnlyProfile readProfile(profile);
        ReadOnlyDriver readDb(server);
        SilentBoxes quiet;
        NoShell noShell;
        NoImageFilesWindow window;
        Services plugin{readProfile, readFiles, quiet, clock, locale, noShell, dates, window, u"C:\\Plugin"};
        enrolix::Tool tool{readProfile, readFiles, quiet, clock, system, readDb};
        Site site{plugin, tool, probe};
        CheckReport report;
        CheckHostFiles(site, report);
        CheckDeviceFunctions(site, report);
        CheckRegistrationTool(site, report);
        withheld = readFiles.withheld;
        withheld.insert(withheld.end(), readProfile.withheld.begin(), readProfile.withheld.end());
        withheld.insert(withheld.end(), readDb.withheld.begin(), readDb.withheld.end());
        for (const auto& path : {"C:\\Windows\\praxo32.ini", "C:\\Windows\\PXEquip.ini", kTomoCfg,
                                 "C:\\Orvanta\\Database\\SqlInstall.ini"})
            EXPECT_EQ(before.Content(path), files.Content(path)) << path;
        return report;
    }

    static std::string Rows(const CheckReport& report, bool problemsOnly) {
        std::string text;
        for (const CheckRow& row : report.Rows())
            if (!problemsOnly || row.state != State::Ok)
                text += std::string(StateName(row.state)) + " " + row.name + ": " + row.found + "\n";
        return text;
    }

    enrolix::test::FakeServer server{files};
    enrolix::test::FakeImagingDb* db = nullptr;
    FakeProbe probe;
    std::vector<std::string> withheld;
};

TEST_F(SiteCheckTest, HealthySiteIsAllOk) {
    CheckReport report = Run();
    EXPECT_EQ("", Rows(report, true));
    EXPECT_EQ(0, report.ExitCode());
    EXPECT_THAT(Rows(report, false), HasSubstr("OK Review Sorvane: listed folder: C:\\SorvaneExport\\Review"));
    EXPECT_THAT(Rows(report, false), HasSubstr("OK SYSMACHINES: WS01 is SORV-WS01"));
    EXPECT_TRUE(withheld.empty()) << withheld.front();
}

struct Fault {
    const char* what;
    std::function<void(SiteCheckTest&)> plant;
    State state;
    const char* row;         // the name of the row that turns
    const char* advice;      // words of its advice
    bool withholds = false;  // the tool's code would record something here (withheld)
};

class SiteFaults : public SiteCheckTest, public ::testing::WithParamInterface<Fault> {
public:
    // The fixture's members for the table's set-up functions.
    using SiteCheckTest::db;
    using SiteCheckTest::files;
    using SiteCheckTest::HostFile;
    using SiteCheckTest::probe;
    using SiteCheckTest::profile;
    using SiteCheckTest::server;
};

void Equip(SiteCheckTest& t, const std::string& from, const std::string& to) {
    std::string text = kEquip;
    text.replace(text.find(from), from.size(), to);
    static_cast<SiteFaults&>(t).HostFile("PXEquip.ini", text);
}

const Fault kFaults[] = {
    {"no praxo32.ini", [](auto& t) { static_cast<SiteFaults&>(t).files.Forget("C:\\Windows\\praxo32.ini"); },
     State::Fail, "praxo32.ini", "Windows folder"},
    {"DataDir without praxo.mdb",
     [](auto& t) { static_cast<SiteFaults&>(t).files.Forget("C:\\Host\\Data\\praxo.mdb"); }, State::Fail, "DataDir",
     "holds the host's praxo.mdb"},
    {"relative DataDir",
     [](auto& t) {
         static_cast<SiteFaults&>(t).HostFile("praxo32.ini", "[System]\r\nDataDir=Data\r\nPgmsDir=C:\\Host\\Pgms\r\n");
     },
     State::Fail, "DataDir", "drive letter"},
    {"server connection without data source",
     [](auto& t) {
         static_cast<SiteFaults&>(t).HostFile(
             "praxo32.ini",
             "[System]\r\nDataDir=C:\\Host\\Data\r\nPgmsDir=C:\\Host\\Pgms\r\n[ADOConnection]\r\nConnectThru=SQL\r\n");
     },
     State::Fail, "Host database", "DataSource"},
    {"PgmsDir missing", [](auto& t) { static_cast<SiteFaults&>(t).files.Forget("C:\\Host\\Pgms"); }, State::Fail,
     "PgmsDir", "existing programs folder"},
    {"Number over 16 bits", [](auto& t) { Equip(t, "Number=2", "Number=40000"); }, State::Fail, "Equipment Number",
     "Overflow"},
    {"key in another case", [](auto& t) { Equip(t, "Orvanta:Review Sorvane", "Orvanta:review Sorvane"); }, State::Warn,
     "Equipment entry 2", "never matches"},
    {"field 0 not a number", [](auto& t) { Equip(t, "2=13:", "2=X13:"); }, State::Fail, "Equipment entry 2",
     "type-mismatch"},
    {"five fields", [](auto& t) { Equip(t, "Capture Sorvane\r\n", "Capture Sorvane:x\r\n"); }, State::Fail,
     "Equipment entry 1", "four fields"},
    {"key listed twice", [](auto& t) { Equip(t, "Number=2\r\n", "Number=3\r\n3=14:x:Orvanta:Review Sorvane\r\n"); },
     State::Warn, "Equipment entry 3", "only entry 2 counts"},
    {"capture entry without its review entry", [](auto& t) { Equip(t, "Number=2", "Number=1"); }, State::Warn,
     "Review Sorvane: listed folder", "Add the review entry Orvanta:Review Sorvane"},
    {"review entry without its capture entry, listing a missing folder",
     [](auto& t) {
         Equip(t, "Number=2\r\n1=12:OCT room 2:Orvanta:Capture Sorvane\r\n2=13", "Number=1\r\n1=13");
         static_cast<SiteFaults&>(t).files.Forget("C:\\SorvaneExport");
     },
     State::Warn, "Review Sorvane: listed folder", "the folder that holds the images"},
    {"acquisition folder not configured",
     [](auto& t) { Equip(t, "[12]\r\nEquipDataPath=C:\\SorvaneExport\r\n", "[12]\r\n"); }, State::Fail,
     "Capture Sorvane: acquisition folder", "folder the technician exports into"},
    {"acquisition folder is the programs folder",
     [](auto& t) { Equip(t, "EquipDataPath=C:\\SorvaneExport\r\n", "EquipDataPath=c:\\host\\pgms\\\r\n"); },
     State::Fail, "Capture Sorvane: acquisition folder", "a folder of its own"},
    {"review folder is the acquisition folder",
     [](auto& t) { Equip(t, "EquipDataPath=C:\\SorvaneExport\\Review", "EquipDataPath=C:\\SorvaneExport"); },
     State::Fail, "Capture Sorvane: review folder", "to another folder"},
    {"acquisition folder's parent missing",
     [](auto& t) { Equip(t, "EquipDataPath=C:\\SorvaneExport\r\n", "EquipDataPath=D:\\Nowhere\\Export\r\n"); },
     State::Fail, "Capture Sorvane: acquisition folder", "Create the parent folder"},
    {"acquisition folder not writable",
     [](auto& t) {
         auto& s = static_cast<SiteFaults&>(t);
         s.files.AddFolder("C:\\SorvaneExport");
         s.probe.locked.insert("C:\\SorvaneExport");
     },
     State::Fail, "Capture Sorvane: acquisition folder", "create and delete files"},
    {"registration program missing",
     [](auto& t) { static_cast<SiteFaults&>(t).files.Forget("C:\\SCANSUITE\\bin\\Enrolix.exe"); }, State::Fail,
     "Capture Sorvane: registration program", "File Not Found"},
    {"ODBC driver of the other architecture only",
     [](auto& t) { static_cast<SiteFaults&>(t).probe.drivers = {"SQL Native Client"}; }, State::Fail, "ODBC driver",
     "64-bit ODBC driver"},
    {"local server down",
     [](auto& t) { static_cast<SiteFaults&>(t).server.ServerNamed("localhost\\SQLKOR").up = false; }, State::Fail,
     "Database server", "Start the local SQL Server"},
    {"central server refuses the login",
     [](auto& t) {
         auto& s = static_cast<SiteFaults&>(t);
         s.profile.Write(kTomoCfg, "Server Connection", "Server", "CEN01");
         s.server.AddServer("CEN01\\SQLKOR", "another");
     },
     State::Fail, "Database server", "central server"},
    {"server wants the other built-in password",
     [](auto& t) { static_cast<SiteFaults&>(t).server.ServerNamed("localhost\\SQLKOR").password = "velvetoak#317"; },
     State::Warn, "Database server", "switches SAPWD", true},
    {"local server serves another file",
     [](auto& t) {
         auto& s = static_cast<SiteFaults&>(t);
         s.server.ServeImagingDb("localhost\\SQLKOR", "C:\\OldData\\PATIENT.mdf");
     },
     State::Warn, "Database file", "re-attaches"},
    {"table missing", [](auto& t) { static_cast<SiteFaults&>(t).db->missingTables.insert("PATIENTVISIT"); },
     State::Fail, "Tables", "Restore the imaging database"},
    {"only the fall-back machine row",
     [](auto& t) {
         static_cast<SiteFaults&>(t).db->machines = {{1, std::nullopt, "SORV-ANY"}};
     },
     State::Warn, "SYSMACHINES", "with its own identifier"},
    {"no machine row", [](auto& t) { static_cast<SiteFaults&>(t).db->machines.clear(); }, State::Fail, "SYSMACHINES",
     "empty machine identifier"},
    {"log not writable",
     [](auto& t) {
         auto& s = static_cast<SiteFaults&>(t);
         s.files.AddFile("C:\\Orvanta\\Logs\\Enrolix.log", "");
         s.probe.locked.insert("C:\\Orvanta\\Logs\\Enrolix.log");
     },
     State::Fail, "Log", "records every run"},
};

TEST_P(SiteFaults, TurnsItsCheckAndTellsWhatToDo) {
    const Fault& fault = GetParam();
    fault.plant(*this);
    CheckReport report = Run();
    const CheckRow* turned = nullptr;
    for (const CheckRow& row : report.Rows())
        if (row.name == fault.row && row.state != State::Ok) turned = &row;
    ASSERT_NE(nullptr, turned) << Rows(report, false);
    EXPECT_EQ(StateName(fault.state), StateName(turned->state)) << turned->found;
    EXPECT_THAT(turned->advice, HasSubstr(fault.advice));
    EXPECT_EQ(fault.state == State::Fail ? 2 : 1, report.ExitCode()) << Rows(report, true);
    if (fault.withholds)
        EXPECT_THAT(withheld, ::testing::Contains("C:\\Orvanta\\Database\\SqlInstall.ini [Options] SAPWD"));
    else
        EXPECT_TRUE(withheld.empty()) << withheld.front();
}

INSTANTIATE_TEST_SUITE_P(Faults, SiteFaults, ::testing::ValuesIn(kFaults), [](const auto& info) {
    std::string name;
    for (char c : std::string(info.param.what)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

TEST(CheckReportTest, TextAndHtmlCarryTheSameRowsGroupedByArea) {
    CheckReport report;
    report.Add("Host files", "praxo32.ini", State::Ok, "C:\\Windows\\praxo32.ini");
    report.Add("Plug-in", "Orvanta.log", State::Fail, "<locked> & \"read-only\"", "Free it.");
    report.Add("Host files", "PgmsDir", State::Warn, "C:\\Host", "Check it.");
    EXPECT_EQ(2, report.ExitCode());
    EXPECT_EQ(
        "Site check\r\n\r\nHost files\r\n  OK   praxo32.ini: C:\\Windows\\praxo32.ini\r\n  WARN PgmsDir: C:\\Host\r\n"
        "       -> Check it.\r\n\r\nPlug-in\r\n  FAIL Orvanta.log: <locked> & \"read-only\"\r\n       -> Free it.\r\n"
        "\r\n1 OK, 1 WARN, 1 FAIL\r\n",
        ReportText(report, "Site check"));
    std::string html = ReportHtml(report, "Site check");
    EXPECT_THAT(html, HasSubstr("<tr class=\"FAIL\"><td>FAIL</td><td>Orvanta.log</td><td>&lt;locked&gt; &amp; "
                                "&quot;read-only&quot;</td><td>Free it.</td></tr>"));
    EXPECT_LT(html.find("PgmsDir"), html.find("<h2>Plug-in"));
    EXPECT_THAT(html, HasSubstr("<p id=\"summary\">1 OK, 1 WARN, 1 FAIL</p>"));

    CheckReport warnings;
    warnings.Add("Host files", "PgmsDir", State::Warn, "C:\\Host", "Check it.");
    EXPECT_EQ(1, warnings.ExitCode());
    EXPECT_EQ(0, CheckReport().ExitCode());
}

}  // namespace
}  // namespace orvanta::check
