// The stand-in's configuration file, its catalogue state file and the mapping of Windows paths.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "OdbcTestSetup.h"
#include "standin/core/Catalogue.h"
#include "standin/core/Config.h"
#include "standin/core/WindowsPath.h"

namespace fs = std::filesystem;
using namespace standin;

namespace {

class StandinConfig : public ::testing::Test {
protected:
    void SetUp() override { folder_ = MakeTestFolder("standin-config"); }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    Config Load(const std::string& text) const {
        std::ofstream(folder_ / "standin.ini") << text;
        return LoadConfig(folder_ / "standin.ini");
    }
    std::string LoadError(const std::string& text) const {
        try {
            Load(text);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "(loaded)";
    }
    fs::path folder_;
};

TEST_F(StandinConfig, ServersPasswordsAndSeeds) {
    Config config = Load(
        "[standin]\nstate = state/cat.ini\ndrive_C = c\n\n"
        "[server localhost\\SQLKOR]\npassword = Policy\ndetach_timeout = until_single_user\n"
        "database PATIENT = C:\\S\\db_repository\\PATIENT.mdf\n"
        "database OTHER = D:\\x\\o.mdf\nlog other = D:\\y\\o.ldf\n\n"
        "[server central01\\SQLKOR]\nstatus = down\npassword = secret\n\n"
        "[server quiet\\A]\n");
    ASSERT_EQ(config.servers.size(), 3u);
    const ServerConfig* local = config.FindServer("(LOCAL)\\sqlkor");
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->password, "velvetoak#317");
    EXPECT_EQ(local->detachTimeout, DetachTimeout::kUntilSingleUser);
    ASSERT_EQ(local->databases.size(), 2u);
    EXPECT_EQ(local->databases[0].logFile, "C:\\S\\db_repository\\PATIENT_Log.ldf");
    EXPECT_EQ(local->databases[1].logFile, "D:\\y\\o.ldf");
    EXPECT_EQ(config.FindServer("127.0.0.1\\SQLKOR"), local);
    EXPECT_EQ(config.FindServer("localhost"), nullptr);
    EXPECT_FALSE(config.FindServer("CENTRAL01\\sqlkor")->up);
    EXPECT_EQ(config.FindServer("central01\\SQLKOR")->password, "secret");
    EXPECT_EQ(config.FindServer("quiet\\A")->password, "tumbleoak");
    EXPECT_EQ(config.stateFile, folder_ / "state/cat.ini");
    EXPECT_EQ(config.statementLog, folder_ / "statements.log");
    EXPECT_EQ(config.driveRoots.at('c'), folder_ / "c");
}

TEST_F(StandinConfig, MistakesAreRefusedWithTheirKey) {
    EXPECT_NE(LoadError("[server a\\b]\nstatus = sometimes\n").find("status"), std::string::npos);
    EXPECT_NE(LoadError("[server a\\b]\ndetach_timeout = once\n").find("detach_timeout"), std::string::npos);
    EXPECT_NE(LoadError("[server a\\b]\npasword = x\n").find("pasword"), std::string::npos);
    EXPECT_NE(LoadError("[server a\\b]\nlog PATIENT = C:\\x.ldf\n").find("names no database"), std::string::npos);
    EXPECT_NE(LoadError("[servers]\n").find("[servers]"), std::string::npos);
    EXPECT_NE(LoadError("[standin]\ndrive = x\n").find("drive"), std::string::npos);
    EXPECT_THROW(LoadConfig(folder_ / "missing.ini"), std::runtime_error);
    EXPECT_NE(LoadError("[fault a]\nstatement = x\noccurrence = 0\n").find("occurrence"), std::string::npos);
    EXPECT_NE(LoadError("[fault a]\nstatement = x\noccurrence = 2,x\n").find("occurrence"), std::string::npos);
    EXPECT_NE(LoadError("[fault a]\nstatement = x\nopen = y\n").find("either"), std::string::npos);
    EXPECT_NE(LoadError("[fault a]\noccurrence = 1\n").find("either"), std::string::npos);
    EXPECT_NE(LoadError("[fault a]\nopen = y\nstate = 42\n").find("5 characters"), std::string::npos);
    EXPECT_NE(LoadError("[fault a]\nopen = y\nmesage = typo\n").find("mesage"), std::string::npos);
}

TEST_F(StandinConfig, FaultsAndTheirOccurrences) {
    Config config = Load(
        "[standin]\nconnection_log = opens.txt\nfault_counts = counts.ini\n\n"
        "[fault drop]\nstatement = drop database *\noccurrence = 2, 4+\n\n"
        "[fault open]\nopen = *PATIENT*\nmessage = [X]gone\n");
    EXPECT_EQ(config.connectionLog, folder_ / "opens.txt");
    EXPECT_EQ(config.faultCounts, folder_ / "counts.ini");
    ASSERT_EQ(config.faults.size(), 2u);
    const Fault& drop = config.faults[0];
    EXPECT_EQ(drop.target, Fault::Target::kStatement);
    EXPECT_EQ(drop.state, "42000");
    EXPECT_EQ(drop.native, 50000);
    std::string fails;
    for (long match = 1; match <= 6; ++match) fails += drop.FailsAt(match) ? 'x' : '.';
    EXPECT_EQ(fails, ".x.xxx");
    const Fault& open = config.faults[1];
    EXPECT_EQ(open.target, Fault::Target::kOpen);
    EXPECT_EQ(open.state, "08001");
    EXPECT_EQ(open.message, "[X]gone");
    EXPECT_TRUE(open.FailsAt(1) && open.FailsAt(7)) << "every match by default";
}

TEST_F(StandinConfig, TheCatalogueIsSeededOnceAndKeepsItsChanges) {
    fs::path state = folder_ / "state.ini";
    Catalogue::Seed(state, {{"localhost\\SQLKOR", "PATIENT", "C:\\a.mdf", "C:\\a.ldf", 0, false}});
    Catalogue catalogue = Catalogue::Read(state);
    ASSERT_NE(catalogue.Find("LOCALHOST\\sqlkor", "patient"), nullptr);
    EXPECT_EQ(catalogue.Find("localhost\\SQLKOR", "PATIENT")->id, 5);

    Catalogue::Update(state, [](Catalogue& c) {
        c.Add({"localhost\\SQLKOR", "OTHER", "C:\\o.mdf", "C:\\o.ldf", 0, true});
        return c.Remove("localhost\\SQLKOR", "PATIENT");
    });
    Catalogue::Seed(state, {{"localhost\\SQLKOR", "PATIENT", "C:\\a.mdf", "C:\\a.ldf", 0, false}});
    catalogue = Catalogue::Read(state);
    EXPECT_EQ(catalogue.Find("localhost\\SQLKOR", "PATIENT"), nullptr) << "an existing state is never reseeded";
    const DatabaseEntry* other = catalogue.Find("localhost\\SQLKOR", "OTHER");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->id, 6);
    EXPECT_TRUE(other->singleUser);
    EXPECT_EQ(other->dataFile, "C:\\o.mdf");
    EXPECT_TRUE(catalogue.OnServer("central\\SQLKOR").empty());
}

TEST_F(StandinConfig, WindowsPathsAreFoundWithoutRegardToCase) {
    Config config = Load("[standin]\ndrive_c = c\n");
    fs::create_directories(folder_ / "c" / "ScanSuite" / "DB_Repository");
    std::ofstream(folder_ / "c" / "ScanSuite" / "DB_Repository" / "Patient.MDF") << "x";
    EXPECT_EQ(MapWindowsPath(config, "C:\\SCANSUITE\\db_repository\\PATIENT.mdf"),
              folder_ / "c" / "ScanSuite" / "DB_Repository" / "Patient.MDF");
    EXPECT_EQ(MapWindowsPath(config, "c:\\scansuite\\\\bin\\..\\new.mdf"), folder_ / "c" / "ScanSuite" / "new.mdf");
    EXPECT_EQ(MapWindowsPath(config, "/abs/file"), fs::path("/abs/file"));
    EXPECT_EQ(MapWindowsPath(config, "relative.mdf"), std::nullopt);
    setenv("WINEPREFIX", (folder_ / "noprefix").c_str(), 1);
    EXPECT_EQ(MapWindowsPath(config, "Q:\\x"), std::nullopt);
    unsetenv("WINEPREFIX");
}

}  // namespace
