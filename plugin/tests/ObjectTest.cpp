#include "plugin/core/DeviceFunctions.h"
#include "plugin/core/OrvantaObject.h"
#include "plugin/core/VbError.h"
#include "plugin/testing/PluginFixture.h"

namespace orvanta::test {
namespace {

using ::testing::ElementsAre;

class Object : public PluginFixture {
protected:
    Object() { Praxo("[System]\nPgmsDir=C:\\Praxo\\Pgms\n"); }
};

TEST_F(Object, FreshObjectHoldsTheInitialValues) {
    OrvantaObject o(services);
    o.Initialise();
    EXPECT_EQ(o.ProgramsFolder(), u"C:\\Praxo\\Pgms");
    EXPECT_TRUE(boxes.shown.empty());

    EXPECT_FALSE(o.mobjPatient);
    EXPECT_FALSE(o.mobjPresentingCLDataObject);
    EXPECT_FALSE(o.gblnShouldWriteToLog);
    EXPECT_FALSE(o.UseOtherCommCtrl || o.Look4EndOfTransChar || o.UseSerialPort || o.DataIsSaved);
    EXPECT_FALSE(o.HaveRTSubjData || o.HaveRM_PD_Data || o.HaveVAUnAidedData);
    EXPECT_EQ(o.MaxCharsFromThisDevice, 0);
    EXPECT_EQ(o.NumDataSegments, 0);
    EXPECT_EQ(o.ExamRecNum, 0);
    for (const std::u16string* text : {&o.CompanyName,
                                       &o.Model,
                                       &o.ExamDate,
                                       &o.CharsAtEndOfData2Look4,
                                       &o.DataSource,
                                       &o.SQLString2Execute,
                                       &o.PATIENTID,
                                       &o.LastName,
                                       &o.FirstName,
                                       &o.MiddleName,
                                       &o.Gender,
                                       &o.DateOfBirth,
                                       &o.ProviderName,
                                       &o.IrisCatagory,
                                       &o.EquipDataPath,
                                       &o.EquipDataFileStartChars,
                                       &o.EquipDataFileEndChars,
                                       &o.EquipProgPathFName,
                                       &o.DeviceName,
                                       &o.LogoToolTip})
        EXPECT_TRUE(text->empty());
    EXPECT_EQ(o.ConnectStringParams(), u"me");
    for (auto read : {&OrvantaObject::CommPort, &OrvantaObject::BaudRate, &OrvantaObject::DataBits,
                      &OrvantaObject::Parity, &OrvantaObject::StopBits, &OrvantaObject::CommEvent,
                      &OrvantaObject::FirstChar, &OrvantaObject::LastChar, &OrvantaObject::Handshaking})
        EXPECT_TRUE(read().empty());
}

TEST_F(Object, CreationWithoutPraxoIniShowsMessageAAndTheObjectWorks) {
    files.Forget("C:\\Windows\\praxo32.ini");
    OrvantaObject o(services);
    o.Initialise();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Unable to find or read the praxo32.ini file.");
    EXPECT_EQ(boxes.shown[0].style.icon, platform::MsgIcon::Critical);
    EXPECT_EQ(o.ProgramsFolder(), u"-3");

    o.LoadEquipProps(u"Capture Sorvane");
    EXPECT_EQ(o.EquipDataPath, u"");
    EXPECT_EQ(o.DataSource, u"File");
    EXPECT_EQ(o.fun_sFixString(u"O'Brien"), u"O''Brien");
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(Object, FixStringDoublesApostrophesAndLeavesTheArgument) {
    std::u16string name = u"O'Brien";
    EXPECT_EQ(OrvantaObject::fun_sFixString(name), u"O''Brien");
    EXPECT_EQ(name, u"O'Brien");
    EXPECT_EQ(OrvantaObject::fun_sFixString(u"''"), u"''''");
    EXPECT_EQ(OrvantaObject::fun_sFixString(u"'a'"), u"''a''");
    EXPECT_EQ(OrvantaObject::fun_sFixString(u"\u2019"), u"\u2019");  // only the plain apostrophe
    EXPECT_EQ(OrvantaObject::fun_sFixString(u""), u"");
}

TEST_F(Object, UtilityMembersAnswerConstants) {
    EXPECT_EQ(OrvantaObject::GetIDFromEquipFName(u"Capture Sorvane", u"Capture Sorvane"), u"");
    EXPECT_EQ(OrvantaObject::GetIDFromEquipFName(u"", u"x"), u"");
    OrvantaObject o(services);
    o.LoadEquipProps(u"Review Pendro");
    EXPECT_EQ(o.ConnectStringParams(), u"me");
}

TEST_F(Object, DeviceNamesIsTheCatalogueInOrder) {
    auto names = OrvantaObject::DeviceNames();
    ASSERT_EQ(names.size(), 16u);
    EXPECT_EQ(names.front(), u"Capture VexaFyndra");
    EXPECT_EQ(names.back(), u"Review Pendro");
    for (std::size_t i = 0; i < names.size(); i += 2) {
        ASSERT_EQ(names[i].rfind(u"Capture ", 0), 0u) << i;
        EXPECT_EQ(u"Review " + names[i].substr(8), names[i + 1]);
    }
    names.pop_back();
    EXPECT_EQ(OrvantaObject::DeviceNames().size(), 16u);
}

class EquipProps : public Object {
protected:
    void Preset(OrvantaObject& o) {
        o.UseSerialPort = true;
        o.UseOtherCommCtrl = true;
        o.Look4EndOfTransChar = true;
        o.DataSource = u"host";
        o.EquipProgPathFName = u"host";
        o.EquipDataPath = u"host";
        o.EquipDataFileStartChars = u"host";
        o.EquipDataFileEndChars = u"host";
        o.CompanyName = u"host";
    }
    static bool Untouched(const OrvantaObject& o) {
        return o.UseSerialPort && o.UseOtherCommCtrl && o.Look4EndOfTransChar && o.DataSource == u"host" &&
               o.EquipProgPathFName == u"host" && o.EquipDataPath == u"host" && o.EquipDataFileStartChars == u"host" &&
               o.EquipDataFileEndChars == u"host";
    }
};

TEST_F(EquipProps, CatalogueNameSetsAllEightSettings) {
    OrvantaObject o(services);
    Preset(o);
    o.LoadEquipProps(u"Capture Sorvane");
    EXPECT_FALSE(o.UseSerialPort);
    EXPECT_FALSE(o.UseOtherCommCtrl);
    EXPECT_FALSE(o.Look4EndOfTransChar);
    EXPECT_EQ(o.DataSource, u"File");
    EXPECT_EQ(o.EquipProgPathFName, u"C:\\SCANSUITE\\bin\\Enrolix.exe");
    EXPECT_EQ(o.EquipDataPath, u"C:\\Praxo\\Pgms");
    EXPECT_EQ(o.EquipDataFileStartChars, u"op_");
    EXPECT_EQ(o.EquipDataFileEndChars, u".jpg");
    EXPECT_EQ(o.CompanyName, u"host");
    EXPECT_TRUE(o.DeviceName.empty());  // uses its argument only

    OrvantaObject review(services);
    Preset(review);
    review.LoadEquipProps(u"Review Sorvane");
    EXPECT_EQ(review.EquipDataPath, o.EquipDataPath);
    EXPECT_EQ(review.EquipProgPathFName, o.EquipProgPathFName);
    EXPECT_EQ(review.DataSource, o.DataSource);
    EXPECT_FALSE(review.Look4EndOfTransChar);
}

TEST_F(EquipProps, EveryCatalogueNameIsRecognised) {
    for (auto name : kDeviceFunctions) {
        OrvantaObject o(services);
        Preset(o);
        o.LoadEquipProps(name);
        EXPECT_EQ(o.EquipDataFileEndChars, u".jpg");
    }
}

TEST_F(EquipProps, OtherNamesChangeNothing) {
    for (std::u16string_view name : {u"capture sorvane", u"Capture Sorvane ", u" Capture Sorvane", u"capture Sorvane",
                                     u"Capture", u"Capture Xeno", u""}) {
        OrvantaObject o(services);
        Preset(o);
        o.LoadEquipProps(name);
        EXPECT_TRUE(Untouched(o)) << std::string(name.begin(), name.end());
    }
}

TEST_F(EquipProps, UnreadableProgramsFolderGivesEmptyPathSilently) {
    Praxo("[System]\nDataDir=C:\\Data\n");
    OrvantaObject o(services);
    Preset(o);
    o.LoadEquipProps(u"Capture Belcor");
    EXPECT_EQ(o.EquipDataPath, u"");
    EXPECT_TRUE(boxes.shown.empty());
    Praxo("[System]\nPgmsDir=D:\\New\n");  // read afresh on every call
    o.LoadEquipProps(u"Capture Belcor");
    EXPECT_EQ(o.EquipDataPath, u"D:\\New");
}

class Dispatch : public Object {};

TEST_F(Dispatch, NoNameOrNeitherWordDoesNothing) {
    OrvantaObject o(services);
    EXPECT_EQ(o.DoDeviceFunction(), u"");
    o.DeviceName = u"capture sorvane";
    EXPECT_EQ(o.DoDeviceFunction(), u"");
    o.DeviceName = u"Show Sorvane";
    EXPECT_EQ(o.DoDeviceFunction(), u"");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(HasPluginFile("Orvanta.log"));
    EXPECT_FALSE(HasPluginFile("PX_IF_Orvanta.err"));
}

// An equipment count beyond 16 bits makes every lookup of the equipment list overflow.
constexpr const char* kOverflowingEquipment = "[Equipment]\nNumber=40000\n";

// An error that a flow lets through is trapped: logged, reported, and the call returns.
TEST_F(Dispatch, ErrorInAFlowIsLoggedReportedAndTheCallReturns) {
    Equip(kOverflowingEquipment);
    OrvantaObject o(services);
    o.DeviceName = u"Review Nikon";  // outside the catalogue: dispatch is by substring
    VbError raised = RaisedError([&] { o.ReviewDevice(); });
    ASSERT_NE(raised.Number(), 0);
    const std::string number = std::to_string(raised.Number());
    const std::string description(raised.Description().begin(), raised.Description().end());
    boxes.shown.clear();

    EXPECT_EQ(o.DoDeviceFunction(), u"");
    const std::string text = " DoDeviceFunction, Err Number: " + number + " Err Description: " + description;
    EXPECT_THAT(CrLfLines(PluginFile("Orvanta.log")), ElementsAre("", "02-05-2015  11:48:30 PM" + text));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "PXEquipIF OrvantaIF Error");
    EXPECT_EQ(boxes.shown[0].text, "PXE_Orvanta IF Error Num=" + number + "  " + description + ".\r\n" + text);
    EXPECT_THAT(
        CrLfLines(PluginFile("PX_IF_Orvanta.err")),
        ElementsAre("", "02-05-2015  11:48:30 PM Error in: " + text, "      Error Num=" + number + "  " + description));
}

TEST_F(Dispatch, ReviewNameTrapsOnceAndAnUnwritableFolderStillShowsTheBox) {
    Equip(kOverflowingEquipment);
    OrvantaObject o(services);
    o.DeviceName = u"Review Pendro";
    VbError raised = RaisedError([&] { o.ReviewDevice(); });
    ASSERT_NE(raised.Number(), 0);
    boxes.shown.clear();
    files.writesFail = true;
    EXPECT_EQ(o.DoDeviceFunction(), u"");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find(" DoDeviceFunction, Err Number: " + std::to_string(raised.Number())),
              std::string::npos);
}

TEST_F(Dispatch, UntrappedMembersRaise) {
    Equip(kOverflowingEquipment);
    OrvantaObject o(services);
    EXPECT_THROW(o.ReviewDevice(), VbError);
    EXPECT_THROW(o.NumPatientImageFiles(), VbError);
}

TEST_F(Object, ParseFileNameInsertsTheExamNumberAfterTheFirstUnderscore) {
    OrvantaObject o(services);
    o.ExamRecNum = 678;
    EXPECT_EQ(o.ParseFileName(u"12345_OD.jpg", u"C:\\Review"), u"C:\\Review\\12345_678_OD.jpg");
    EXPECT_EQ(o.ParseFileName(u"scan.jpg", u"C:\\Review"), u"C:\\Review\\678_scan.jpg");
    EXPECT_EQ(o.ParseFileName(u"12345_OD_2.jpg", u"C:\\Review"), u"C:\\Review\\12345_678_OD_2.jpg");
    o.ExamRecNum = -5;  // negative numbers are stored and keep their sign
    EXPECT_EQ(o.ParseFileName(u"_x", u"R"), u"R\\_-5_x");
}

}  // namespace
}  // namespace orvanta::test
