#include "plugin/core/HostConfig.h"
#include "plugin/core/VbError.h"
#include "plugin/testing/PluginFixture.h"

namespace orvanta::test {
namespace {

class HostConfig : public PluginFixture {};

TEST_F(HostConfig, DataFolderNeedsADriveOrANetworkPath) {
    Praxo("[System]\nDataDir=C:\\Host\\Data\n");
    EXPECT_EQ(GetPraxoDBPath(services), u"C:\\Host\\Data");
    Praxo("[System]\nDataDir=\\\\server\\share\\data\n");
    EXPECT_EQ(GetPraxoDBPath(services), u"\\\\server\\share\\data");
    Praxo("[System]\nDataDir=Data\n");
    EXPECT_EQ(GetPraxoDBPath(services), u"-4");
    Praxo("[System]\nDataDir=\\Data\n");
    EXPECT_EQ(GetPraxoDBPath(services), u"-4");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HostConfig, MissingDataFolderShowsMessageA) {
    EXPECT_EQ(GetPraxoDBPath(services), u"-3");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Unable to find or read the praxo32.ini file.");
    EXPECT_EQ(boxes.shown[0].caption, "Orvanta");
    EXPECT_EQ(boxes.shown[0].style.icon, platform::MsgIcon::Critical);
    EXPECT_EQ(boxes.shown[0].style.buttons, platform::MsgButtons::Ok);
}

TEST_F(HostConfig, DatabaseVariantWantsPraxoMdbInTheFolder) {
    Praxo("[System]\nDataDir=C:\\Host\\Data\n");
    EXPECT_EQ(GetPraxoDBPathOfExistingDatabase(services), u"-3");
    files.AddFolder("C:\\Host\\Data\\praxo.mdb");
    EXPECT_EQ(GetPraxoDBPathOfExistingDatabase(services), u"-3");  // a folder is no database
    files.Forget("C:\\Host\\Data\\praxo.mdb");
    files.AddFile("C:\\Host\\Data\\praxo.mdb", "");
    EXPECT_EQ(GetPraxoDBPathOfExistingDatabase(services), u"C:\\Host\\Data");
    Praxo("[System]\nDataDir=Data\n");
    EXPECT_EQ(GetPraxoDBPathOfExistingDatabase(services), u"-4");
    EXPECT_TRUE(boxes.shown.empty());

    Praxo("[Other]\n");
    EXPECT_EQ(GetPraxoDBPathOfExistingDatabase(services), u"-3");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "PXEquipIF OrvantaIF Error");
}

TEST_F(HostConfig, ProgramsFolderReads) {
    EXPECT_EQ(ReadProgramsFolder(services), u"");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(GetPraxoPath(services), u"-3");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "");
    EXPECT_EQ(boxes.shown[0].text, "Unable to find or read the praxo32.ini file.");

    Praxo("[System]\nPgmsDir=C:\\Praxo\\Pgms\n");
    EXPECT_EQ(GetPraxoPath(services), u"C:\\Praxo\\Pgms");
    EXPECT_EQ(ReadProgramsFolder(services), u"C:\\Praxo\\Pgms");
}

TEST_F(HostConfig, ValuesAreCutTo254Characters) {
    Praxo("[System]\nPgmsDir=C:\\" + std::string(300, 'x') + "\n");
    EXPECT_EQ(ReadProgramsFolder(services).size(), 254u);
}

TEST_F(HostConfig, ExamDataLogSwitch) {
    EXPECT_FALSE(ShouldWriteToLog(services));
    Equip("[Equipment]\nWriteReceiveDataLog=yes\n");
    EXPECT_TRUE(ShouldWriteToLog(services));
    Equip("[Equipment]\nWriteReceiveDataLog=Y\n");
    EXPECT_FALSE(ShouldWriteToLog(services));
    Equip("[Equipment]\nWriteReceiveDataLog=NO\n");
    EXPECT_FALSE(ShouldWriteToLog(services));
}

class EquipmentNumber : public PluginFixture {
protected:
    int Find(std::u16string_view key) { return FindEquipmentNumber(services, key); }
    int ErrorOf(std::u16string_view key) {
        try {
            Find(key);
        } catch (const VbError& e) {
            return e.Number();
        }
        return 0;
    }
};

TEST_F(EquipmentNumber, MatchesTheKeyFieldsExactly) {
    Equip("[Equipment]\nNumber=2\n1=3:a:Orvanta:Capture Sorvane\n2=4:b:Orvanta:Review Sorvane\n");
    EXPECT_EQ(Find(u"Orvanta:Review Sorvane"), 4);
    EXPECT_EQ(Find(u"Orvanta:Capture Sorvane"), 3);
    EXPECT_EQ(Find(u"Orvanta:Review Belcor"), 0);

    Equip("[Equipment]\nNumber=2\n1=3:a:Orvanta:Capture Sorvane\n2=4:b:orvanta:Review Sorvane\n");
    EXPECT_EQ(Find(u"Orvanta:Review Sorvane"), 0);

    Equip("[Equipment]\nNumber=1\n1=4:b:Orvanta:Review Sorvane:x\n");
    EXPECT_EQ(Find(u"Orvanta:Review Sorvane"), 0);
}

TEST_F(EquipmentNumber, KeysOfThreeFieldsMatchToo) {
    Equip("[Equipment]\nNumber=1\n1=9:b:Orvanta:Review:Sorvane\n");
    EXPECT_EQ(Find(u"Orvanta:Review:Sorvane"), 9);
    EXPECT_EQ(Find(u"Orvanta"), 0);
    Equip("[Equipment]\nNumber=1\n1=9:b:a:b:c:d\n");
    EXPECT_EQ(Find(u"a:b:c:d"), 0);
}

TEST_F(EquipmentNumber, TheCountDecidesHowManyEntriesAreRead) {
    const std::string entries = "1=3:a:Orvanta:Capture Sorvane\n2=4:b:Orvanta:Review Sorvane\n";
    for (std::string number : {"0", "abc", "-2"}) {
        Equip("[Equipment]\nNumber=" + number + "\n" + entries);
        EXPECT_EQ(Find(u"Orvanta:Capture Sorvane"), 0) << number;
    }
    Equip("[Equipment]\n" + entries);
    EXPECT_EQ(Find(u"Orvanta:Capture Sorvane"), 0);
    Equip("[Equipment]\nNumber=1.5\n" + entries);  // rounds to 2
    EXPECT_EQ(Find(u"Orvanta:Review Sorvane"), 4);
    Equip("[Equipment]\nNumber=2.5\n" + entries);  // rounds to 2, not 3
    EXPECT_EQ(Find(u"Orvanta:Review Sorvane"), 4);
    Equip("[Equipment]\nNumber=1.5 entries\n" + entries);
    EXPECT_EQ(Find(u"Orvanta:Review Sorvane"), 4);
    Equip("[Equipment]\nNumber=0.5\n" + entries);  // rounds to 0
    EXPECT_EQ(Find(u"Orvanta:Capture Sorvane"), 0);
}

TEST_F(EquipmentNumber, LowerEntryWinsAndGapsAreSkipped) {
    Equip("[Equipment]\nNumber=4\n2=7:a:Orvanta:Capture Sorvane\n4=8:a:Orvanta:Capture Sorvane\n");
    EXPECT_EQ(Find(u"Orvanta:Capture Sorvane"), 7);
}

TEST_F(EquipmentNumber, RaisesOverflowAndTypeMismatch) {
    Equip("[Equipment]\nNumber=40000\n1=3:a:Orvanta:Capture Sorvane\n");
    EXPECT_EQ(ErrorOf(u"Orvanta:Capture Sorvane"), vb::kOverflow);
    EXPECT_EQ(ErrorOf(u"bad key"), vb::kOverflow);
    Equip("[Equipment]\nNumber=1\n1=x3:a:Orvanta:Capture Sorvane\n");
    EXPECT_EQ(ErrorOf(u"Orvanta:Capture Sorvane"), vb::kTypeMismatch);
    EXPECT_EQ(ErrorOf(u"Orvanta:Review Sorvane"), 0);  // only a matching entry is converted
    Equip("[Equipment]\nNumber=1\n1=99999:a:Orvanta:Capture Sorvane\n");
    EXPECT_EQ(ErrorOf(u"Orvanta:Capture Sorvane"), vb::kOverflow);
}

}  // namespace
}  // namespace orvanta::test
