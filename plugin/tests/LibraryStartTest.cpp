#include <vector>

#include "plugin/core/LibraryStart.h"
#include "plugin/core/VbError.h"
#include "plugin/testing/PluginFixture.h"

namespace orvanta::test {
namespace {

// A data-access component that records what it was handed.
struct FakeDataAccessLog {
    int created = 0;
    std::vector<std::u16string> dataSources;
    std::optional<VbError> refusal;  // raised by SetDataSource
    bool missing = false;            // Create raises "can't create object"
    bool returnsNothing = false;     // Create answers no object
};

class FakeDataAccess : public IHostDataAccess {
public:
    explicit FakeDataAccess(FakeDataAccessLog& log) : log_(log) {}
    void SetDataSource(const std::u16string& dataSource) override {
        log_.dataSources.push_back(dataSource);
        if (log_.refusal) throw *log_.refusal;
    }

private:
    FakeDataAccessLog& log_;
};

class FakeDataAccessFactory : public IHostDataAccessFactory {
public:
    explicit FakeDataAccessFactory(FakeDataAccessLog& log) : log_(log) {}
    std::unique_ptr<IHostDataAccess> Create() override {
        if (log_.missing) throw VbError(vb::kCannotCreateObject);
        if (log_.returnsNothing) return nullptr;
        ++log_.created;
        return std::make_unique<FakeDataAccess>(log_);
    }

private:
    FakeDataAccessLog& log_;
};

class LibraryStartTest : public PluginFixture {
protected:
    void Start() { RunLibraryStart(services, factory, settings); }

    FakeDataAccessLog component;
    FakeDataAccessFactory factory{component};
    HostDatabaseSettings settings;
};

TEST_F(LibraryStartTest, NoConnectThruMeansJetAndTheDatabaseFile) {
    Praxo("[System]\nDataDir=C:\\Host\\Data\n[ADOConnection]\nDataSource=SRV\n");
    files.AddFile("C:\\Host\\Data\\praxo.mdb", "");
    Start();
    EXPECT_EQ(settings.connectionKind, u"JET");
    EXPECT_FALSE(settings.serverConnection);
    EXPECT_EQ(settings.databaseLocation, u"C:\\Host\\Data\\praxo.mdb");
    EXPECT_EQ(settings.dataSource, u"");
    EXPECT_EQ(component.created, 0);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LibraryStartTest, JetWithoutDataFolderShowsMessageAWithTheErrorTitle) {
    Start();
    EXPECT_EQ(settings.connectionKind, u"JET");
    EXPECT_EQ(settings.databaseLocation, u"-3\\praxo.mdb");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "PXEquipIF OrvantaIF Error");
    EXPECT_EQ(boxes.shown[0].text, "Unable to find or read the praxo32.ini file.");
}

TEST_F(LibraryStartTest, KindIsComparedExactly) {
    for (std::string kind : {"sql", "Msde", "Sql", "ODBC"}) {
        Praxo("[System]\nDataDir=C:\\Host\\Data\n[ADOConnection]\nConnectThru=" + kind + "\nDataSource=SRV\n");
        HostDatabaseSettings fresh;
        RunLibraryStart(services, factory, fresh);
        EXPECT_FALSE(fresh.serverConnection) << kind;
        EXPECT_EQ(fresh.databaseLocation, u"-3\\praxo.mdb") << kind;  // no praxo.mdb in the folder
    }
    EXPECT_EQ(component.created, 0);
}

TEST_F(LibraryStartTest, ServerConnectionHandsTheDataSourceToTheComponent) {
    Praxo("[ADOConnection]\nConnectThru=SQL\nDataSource=PRAXOSRV\\SQLEXPRESS\n");
    Start();
    EXPECT_EQ(settings.connectionKind, u"SQL");
    EXPECT_TRUE(settings.serverConnection);
    EXPECT_EQ(component.created, 1);
    EXPECT_THAT(component.dataSources, ::testing::ElementsAre(u"PRAXOSRV\\SQLEXPRESS"));
    EXPECT_TRUE(settings.dataAccess);
    EXPECT_EQ(settings.dataSource, u"PRAXOSRV\\SQLEXPRESS");
    EXPECT_EQ(settings.databaseLocation, u"PRAXO");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(HasPluginFile("Orvanta.log"));
}

TEST_F(LibraryStartTest, MsdeReadsTheDatabaseNameAndAnEmptyDataSource) {
    Praxo("[ADOConnection]\nConnectThru=MSDE\nDatabasename=Clinic\n");
    Start();
    EXPECT_TRUE(settings.serverConnection);
    EXPECT_THAT(component.dataSources, ::testing::ElementsAre(u""));
    EXPECT_EQ(settings.databaseLocation, u"Clinic");
}

TEST_F(LibraryStartTest, MissingComponentIsLoggedAndTheLibraryCarriesOn) {
    Praxo("[ADOConnection]\nConnectThru=SQL\nDataSource=SRV\n");
    component.missing = true;
    EXPECT_THROW(LibraryStart(services, factory, settings), VbError);
    EXPECT_FALSE(HasPluginFile("Orvanta.log"));

    HostDatabaseSettings fresh;
    EXPECT_NO_THROW(RunLibraryStart(services, factory, fresh));
    EXPECT_FALSE(fresh.serverConnection);
    EXPECT_FALSE(fresh.dataAccess);
    EXPECT_THAT(CrLfLines(PluginFile("Orvanta.log")),
                ::testing::ElementsAre("",
                                       "02-05-2015  11:48:30 PM LibraryStart, Err Number: 429 Err Description: "
                                       "ActiveX component can't create object"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LibraryStartTest, RefusedDataSourceAndNoObjectAreLoggedToo) {
    Praxo("[ADOConnection]\nConnectThru=SQL\nDataSource=SRV\n");
    component.refusal = VbError(static_cast<std::int32_t>(0x80070005), u"Access is denied.");
    Start();
    EXPECT_FALSE(settings.serverConnection);
    EXPECT_FALSE(settings.dataAccess);
    component.refusal.reset();
    component.returnsNothing = true;
    HostDatabaseSettings fresh;
    RunLibraryStart(services, factory, fresh);
    EXPECT_FALSE(fresh.serverConnection);
    auto lines = CrLfLines(PluginFile("Orvanta.log"));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[1].find("Err Number: -2147024891 Err Description: Access is denied."), std::string::npos);
    EXPECT_NE(lines[3].find("Err Number: 429"), std::string::npos);
}

TEST_F(LibraryStartTest, UnwritableLogDoesNotStopTheLoad) {
    Praxo("[ADOConnection]\nConnectThru=SQL\n");
    component.missing = true;
    files.writesFail = true;
    EXPECT_NO_THROW(Start());
}

TEST(VbErrorModel, HResultCarriesTheNumberInFacilityControl) {
    EXPECT_EQ(static_cast<std::uint32_t>(VbError(vb::kOverflow).HResult()), 0x800A0006u);
    EXPECT_EQ(static_cast<std::uint32_t>(VbError(vb::kCannotCreateObject).HResult()), 0x800A01ADu);
    EXPECT_EQ(static_cast<std::uint32_t>(VbError(static_cast<std::int32_t>(0x80070005), u"x").HResult()), 0x80070005u);
    EXPECT_EQ(VbError(vb::kTypeMismatch).Description(), u"Type mismatch");
    EXPECT_EQ(VbError(vb::kOverflow).Description(), u"Overflow");
    EXPECT_EQ(VbError(vb::kFileNotFound).Description(), u"File not found");
    EXPECT_EQ(VbError(vb::kPathNotFound).Description(), u"Path not found");
}

TEST(VbErrorModel, CatchVbErrorMapsEveryException) {
    EXPECT_FALSE(CatchVbError([] {}));
    EXPECT_EQ(CatchVbError([] { throw VbError(vb::kOverflow); })->Number(), vb::kOverflow);
    EXPECT_EQ(CatchVbError([] { throw std::bad_alloc(); })->Number(), vb::kOutOfMemory);
    EXPECT_EQ(CatchVbError([] { throw 42; })->Number(), vb::kInternalError);
}

}  // namespace
}  // namespace orvanta::test
