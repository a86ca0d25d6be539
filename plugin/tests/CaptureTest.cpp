#include "plugin/core/Capture.h"
#include "plugin/core/CaptureFolders.h"
#include "plugin/core/OrvantaObject.h"
#include "plugin/testing/PluginFixture.h"
#include "tools/common/CommandLine.h"

namespace orvanta::test {
namespace {

using platform::MsgAnswer;
using platform::MsgButtons;
using ::testing::ElementsAre;

constexpr const char* kProgram = "C:\\SCANSUITE\\bin\\Enrolix.exe";
constexpr const char* kImages = "C:\\Praxo\\Images";
constexpr const char* kReview = "C:\\Praxo\\Images\\Data";
// The capture's own acquisition folder, apart from the host programs folder C:\Praxo\Pgms.
const std::string kEquip =
    "[Equipment]\nNumber=1\n1=3:a:Orvanta:Capture Sorvane\n[3]\nEquipDataPath=C:\\Praxo\\Images\n";
const std::string kWaiting = "Waiting for Technician  -  Place files in ";

class Capture : public PluginFixture {
protected:
    Capture() {
        Praxo("[System]\nPgmsDir=C:\\Praxo\\Pgms\n");
        files.AddFile(kProgram, "program");
        files.AddFolder("C:\\Praxo\\Pgms");  // folders are made one level only
        Equip(kEquip);
        object.DeviceName = u"Capture Sorvane";
        object.PATIENTID = u"12-345";
        object.LastName = u"Smith";
        object.FirstName = u"John";
        object.Gender = u"M";
        object.DateOfBirth = u"01/02/1960";
        object.ExamRecNum = 678;
    }

    // argv of the one program started, as the C runtime splits its command line.
    std::vector<std::string> Arguments() {
        EXPECT_EQ(shell.calls.size(), 1u);
        if (shell.calls.empty()) return {};
        auto argv = tools::SplitCommandLine(("Enrolix.exe " + shell.calls[0].parameters).c_str());
        argv.erase(argv.begin());
        return argv;
    }
    std::string ErrorText() {
        auto lines = CrLfLines(PluginFile("Orvanta.log"));
        return lines.size() == 2 ? lines[1].substr(std::string("02-05-2015  11:48:30 PM").size()) : "";
    }

    OrvantaObject object{services};
};

TEST_F(Capture, StartsEnrolixWaitsAndMovesTheFilesUnderTheExamNumber) {
    files.AddFolder(kImages);
    files.AddFile("C:\\Praxo\\Images\\12345_OD_20150205.jpg", "right eye");
    files.AddFile("C:\\Praxo\\Images\\scan.tif", "no underscore");
    files.AddFile("C:\\Praxo\\Images\\K_\xC5\x81ukasz_OD.jpg", "outside the code page");
    files.AddFolder("C:\\Praxo\\Images\\Sub");
    files.AddFile("C:\\Praxo\\Images\\Sub\\12345_x.jpg", "stays");

    EXPECT_EQ(object.CaptureDevice(), u"Was OK");

    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].owner, nullptr);
    EXPECT_EQ(shell.calls[0].verb, "open");
    EXPECT_EQ(shell.calls[0].file, kProgram);
    EXPECT_EQ(shell.calls[0].directory, "C:\\SCANSUITE\\bin\\");
    EXPECT_EQ(shell.calls[0].showCommand, 5);
    EXPECT_EQ(shell.calls[0].parameters, R"("12345" "Smith" "John" "n/a" "M" "01/02/1960" "n/a" "02/05/2015" "1")");
    EXPECT_EQ(files.currentDirectory, "C:\\SCANSUITE\\bin");
    EXPECT_EQ(object.CaptureDate(), u"02/05/2015");

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, kWaiting + kImages);
    EXPECT_EQ(boxes.shown[0].caption, "Orvanta Capture");
    EXPECT_EQ(boxes.shown[0].style.buttons, MsgButtons::OkCancel);

    EXPECT_TRUE(files.HasFolder(kReview));
    EXPECT_EQ(files.Content("C:\\Praxo\\Images\\Data\\12345_678_OD_20150205.jpg"), "right eye");
    EXPECT_EQ(files.Content("C:\\Praxo\\Images\\Data\\678_scan.tif"), "no underscore");
    EXPECT_EQ(files.Content("C:\\Praxo\\Images\\Data\\K_678_\xC5\x81ukasz_OD.jpg"), "outside the code page");
    EXPECT_EQ(files.Names(kImages), (std::vector<std::string>{"Sub", "Data"}));
    EXPECT_TRUE(files.HasFile("C:\\Praxo\\Images\\Sub\\12345_x.jpg"));
    EXPECT_FALSE(HasPluginFile("Orvanta.log"));
}

TEST_F(Capture, EquipmentSectionsNameTheProgramAndBothFolders) {
    Equip(
        "[Equipment]\nNumber=3\n1=7:x:Orvanta:Capture Belcor\n2=3:a:Orvanta:Capture Sorvane\n"
        "3=4:b:Orvanta:Review Sorvane\n"
        "[3]\nEquipProgPathFName=D:\\Tools\\Reg.exe\nEquipDataPath=D:\\Export\n[4]\nEquipDataPath=E:\\Review\n"
        "[7]\nEquipDataPath=X:\\Wrong\n");
    files.AddFile("D:\\Tools\\Reg.exe", "");
    files.AddFolder("E:\\");
    EXPECT_EQ(object.CaptureDevice(), u"Was OK");
    EXPECT_EQ(object.EquipProgPathFName, u"D:\\Tools\\Reg.exe");
    EXPECT_EQ(object.EquipDataPath, u"D:\\Export");
    EXPECT_TRUE(files.HasFolder("D:\\Export"));
    EXPECT_TRUE(files.HasFolder("E:\\Review"));
    EXPECT_FALSE(files.HasFolder("D:\\Export\\Data"));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, "D:\\Tools\\Reg.exe");
    EXPECT_EQ(shell.calls[0].directory, "D:\\Tools\\");
    EXPECT_EQ(boxes.shown[0].text, kWaiting + "D:\\Export");

    // A program without a folder starts without one and leaves the working folder alone.
    Equip(
        "[Equipment]\nNumber=1\n1=3:a:Orvanta:Capture Sorvane\n[3]\nEquipProgPathFName=Reg.exe\n"
        "EquipDataPath=C:\\Praxo\\Images\n");
    files.currentDirectory = "C:\\Host";
    files.AddFile("Reg.exe", "");  // in the working folder
    shell.calls.clear();
    EXPECT_EQ(object.CaptureDevice(), u"Was OK");
    EXPECT_EQ(shell.calls[0].directory, "");
    EXPECT_EQ(files.currentDirectory, "C:\\Host");
}

TEST_F(Capture, ArgumentsReachTheProgramExactlyAsTheHostGaveThem) {
    struct Case {
        std::u16string id, last, first, middle, gender, birth;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        // 23 characters with 5 dashes: the first 16 of the 18 left.
        {u"AB-CD-EF-GH-IJ-KLMNOPQR",
         u"O'Neil",
         u"Sean",
         u"",
         u"M",
         u"01/02/1960",
         {"ABCDEFGHIJKLMNOP", "O'Neil", "Sean", "n/a", "M", "01/02/1960", "n/a", "02/05/2015", "1"}},
        {u"1234567890",
         u"Smith",
         u"John",
         u" ",
         u"",
         u"",
         {"1234567890", "Smith", "John", " ", "", "", "n/a", "02/05/2015", "1"}},
        {u"42",
         u"Say \"Hi\"",
         u"Back\\",
         u"a\\\\\"b",
         u"F",
         u"Feb 2 1960",
         {"42", "Say \"Hi\"", "Back\\", "a\\\\\"b", "F", "Feb 2 1960", "n/a", "02/05/2015", "1"}},
        {u"42",
         u"100% %PATH%",
         u"Zo\u00eb",
         u"\u0141ukasz",
         u"M",
         u"1/2/1960",
         {"42", "100% %PATH%", "Zo\xeb", "?ukasz", "M", "1/2/1960", "n/a", "02/05/2015", "1"}},
    };
    for (const auto& c : cases) {
        shell.calls.clear();
        object.PATIENTID = c.id;
        object.LastName = c.last;
        object.FirstName = c.first;
        object.MiddleName = c.middle;
        object.Gender = c.gender;
        object.DateOfBirth = c.birth;
        EXPECT_EQ(object.CaptureDevice(), u"Was OK");
        EXPECT_EQ(Arguments(), c.expected);
    }
    // A double-byte character whose second byte is a backslash stays whole: nothing doubled before the quote.
    locale.doubleByte[u'\u8A31'] = "\xB3\x5C";
    shell.calls.clear();
    object.LastName = u"\u8A31";
    object.FirstName = u"\u8A31\\";
    object.CaptureDevice();
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_THAT(shell.calls[0].parameters, ::testing::HasSubstr(" \"\xB3\x5C\" \"\xB3\x5C\\\\\" "));
    EXPECT_EQ(Quote(""), "\"\"");
    EXPECT_EQ(Quote("a\\b"), "\"a\\b\"");
    EXPECT_EQ(Quote("a\\\"b\\"), "\"a\\\\\\\"b\\\\\"");
}

TEST_F(Capture, TheLocalesDateSeparatorJoinsTheCaptureDate) {
    locale.dateSeparator = u".";
    clock.localNow = platform::fake::FixedClock::MakeTm(2024, 11, 30, 8, 0, 0);
    object.CaptureDevice();
    EXPECT_EQ(object.CaptureDate(), u"11.30.2024");
    EXPECT_EQ(Arguments()[7], "11.30.2024");
}

TEST_F(Capture, CancelThenNoKeepsTheFilesAndYesDeletesThem) {
    files.AddFile("C:\\Praxo\\Images\\a_1.jpg", "a");
    files.AddFolder("C:\\Praxo\\Images\\Sub");
    boxes.answers = {MsgAnswer::Cancel, MsgAnswer::No};
    EXPECT_EQ(object.CaptureDevice(), u"Was OK");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Do you want to delete current files?");
    EXPECT_EQ(boxes.shown[1].caption, "Attention");
    EXPECT_EQ(boxes.shown[1].style.buttons, MsgButtons::YesNo);
    EXPECT_TRUE(files.HasFile("C:\\Praxo\\Images\\a_1.jpg"));

    boxes.answers = {MsgAnswer::Cancel, MsgAnswer::Yes};
    EXPECT_EQ(object.CaptureDevice(), u"Was OK");
    EXPECT_EQ(files.Names(kImages), (std::vector<std::string>{"Sub", "Data"}));
    EXPECT_EQ(files.Names(kReview), std::vector<std::string>{});
}

TEST_F(Capture, EmptyFolderAndExistingTargets) {
    EXPECT_EQ(object.CaptureDevice(), u"Was OK");  // creates both folders, moves nothing
    EXPECT_EQ(files.Names(kReview), std::vector<std::string>{});
    files.AddFile("C:\\Praxo\\Images\\12345_OD.jpg", "new");
    files.AddFile("C:\\Praxo\\Images\\Data\\12345_678_OD.jpg", "old");
    EXPECT_EQ(object.CaptureDevice(), u"Was OK");
    EXPECT_EQ(files.Content("C:\\Praxo\\Images\\Data\\12345_678_OD.jpg"), "new");
    EXPECT_FALSE(files.HasFile("C:\\Praxo\\Images\\12345_OD.jpg"));
}

TEST_F(Capture, MissingProgramSaysFileNotFoundAndStartsNothing) {
    files.Forget(kProgram);
    files.AddFile("C:\\Praxo\\Images\\a_1.jpg", "a");
    EXPECT_EQ(object.CaptureDevice(), u"");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "File Not Found");
    EXPECT_EQ(boxes.shown[0].caption, "Attention");
    EXPECT_EQ(boxes.shown[0].style.buttons, MsgButtons::Ok);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_TRUE(files.HasFolder(kReview));
    EXPECT_TRUE(files.HasFile("C:\\Praxo\\Images\\a_1.jpg"));
    EXPECT_FALSE(HasPluginFile("Orvanta.log"));
}

TEST_F(Capture, RefusesToMoveTheHostsFilesOrEarlierCapturesAndTouchesNothing) {
    const std::string programs =
        "The acquisition folder C:\\Praxo\\Pgms is the host programs folder; a capture would "
        "move the host's own files. Set \"EquipDataPath\" of the PXEquip.ini entry "
        "\"Orvanta:Capture Sorvane\" to a folder of its own.";
    const std::string again =
        "is the acquisition folder; a capture would move earlier captures again. Set "
        "\"EquipDataPath\" of the PXEquip.ini entry \"Orvanta:Review Sorvane\"";
    struct Case {
        const char* what;
        std::string equip;  // empty: no PXEquip.ini
        std::string description;
    };
    auto entry = [](const std::string& capture, const std::string& review) {
        return "[Equipment]\nNumber=2\n1=3:a:Orvanta:Capture Sorvane\n2=4:a:Orvanta:Review Sorvane\n[3]\n"
               "EquipDataPath=" +
               capture + "\n[4]\nEquipDataPath=" + review + "\n";
    };
    const std::vector<Case> cases = {
        {"no capture entry", "", programs},
        {"another case, a trailing backslash", entry("c:\\praxo\\PGMS\\", "C:\\Review"), "c:\\praxo\\PGMS\\"},
        {"another spelling", entry("C:\\Praxo\\Images\\..\\.\\Pgms", "C:\\Review"), "is the host programs folder"},
        {"a short name", entry("C:\\PRAXO~1\\Pgms", "C:\\Review"), "is the host programs folder"},
        {"review entry is the acquisition folder", entry("C:\\Praxo\\Images", "c:\\PRAXO\\images\\"), again},
    };
    files.shortNames["PRAXO~1"] = "Praxo";
    files.AddFile("C:\\Praxo\\Pgms\\praxo32.exe", "host");
    files.AddFile("C:\\Praxo\\Images\\K_77_OD.jpg", "earlier");
    for (const auto& c : cases) {
        c.equip.empty() ? files.Forget("C:\\Windows\\PXEquip.ini") : Equip(c.equip);
        files.Forget("C:\\Plugin\\Orvanta.log");
        boxes.shown.clear();
        EXPECT_EQ(object.CaptureDevice(), u"") << c.what;
        EXPECT_TRUE(shell.calls.empty()) << c.what;
        ASSERT_EQ(boxes.shown.size(), 1u) << c.what;  // the error report, no waiting box
        EXPECT_EQ(boxes.shown[0].caption, "PXEquipIF OrvantaIF Error");
        EXPECT_THAT(ErrorText(), ::testing::StartsWith(" CaptureDevice, Err Number: 75 Err Description: ")) << c.what;
        EXPECT_THAT(ErrorText(), ::testing::HasSubstr(c.description)) << c.what;
        EXPECT_THAT(ErrorText(), ::testing::EndsWith(". 0")) << c.what;
        EXPECT_EQ(files.Names("C:\\Praxo\\Pgms"), std::vector<std::string>{"praxo32.exe"}) << c.what;
        EXPECT_EQ(files.Names(kImages), std::vector<std::string>{"K_77_OD.jpg"}) << c.what;
        EXPECT_FALSE(files.HasFolder("C:\\Review")) << c.what;
    }
    EXPECT_THAT(PluginFile("PX_IF_Orvanta.err"), ::testing::HasSubstr(programs));
}

TEST_F(Capture, FoldersCompareAsWindowsComparesThem) {
    files.shortNames["PRAXO~1"] = "Praxo";
    files.currentDirectory = "C:\\Praxo";
    struct Case {
        std::u16string a, b;
        bool same;
    };
    const std::vector<Case> cases = {
        {u"C:\\Praxo\\Pgms", u"c:\\PRAXO\\pgms\\", true},
        {u"C:\\Praxo\\Pgms", u"Pgms", true},
        {u"C:\\PRAXO~1\\Pgms", u"C:\\Praxo\\Pgms", true},
        {u"C:\\", u"c:\\", true},
        {u"C:\\Praxo\\Pgms", u"C:\\Praxo\\Pgms2", false},
        {u"C:\\Praxo", u"C:\\Praxo\\Pgms", false},
        {u"", u"", false},
        {u"C:\\Praxo", u"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(SameFolder(services, c.a, c.b), c.same);
    EXPECT_EQ(FindCaptureRefusal(services, {u"", u"C:\\Images", u"C:\\Images\\Data"}, u""), CaptureRefusal::kNone);
}

TEST_F(Capture, ErrorsAreLoggedThenReportedWithTheirStepMarker) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"equipment count overflows", [&] { Equip("[Equipment]\nNumber=40000\n"); },
         " CaptureDevice, Err Number: 6 Err Description: Overflow 0"},
        {"no acquisition folder configured",
         [&] {
             Praxo("[System]\n");
             files.Forget("C:\\Windows\\PXEquip.ini");
         },
         " CaptureDevice, Err Number: 76 Err Description: Path not found 1"},
        {"parent of the acquisition folder missing",
         [&] { Equip("[Equipment]\nNumber=1\n1=3:a:Orvanta:Capture Sorvane\n[3]\nEquipDataPath=Q:\\A\\B\n"); },
         " CaptureDevice, Err Number: 76 Err Description: Path not found 1"},
        {"folder cannot be listed", [&] { files.failingLists.insert("C:\\PRAXO\\IMAGES"); },
         " CaptureDevice, Err Number: 70 Err Description: Permission denied 6"},
        // A program the shell cannot start: no waiting box, nothing moved.
        {"access denied", [&] { shell.result = 5; },
         " CaptureDevice, Err Number: 70 Err Description: The registration program C:\\SCANSUITE\\bin\\Enrolix.exe "
         "could not be started: Access denied (5) 4"},
        {"not a program",
         [&] {
             shell.result = 11;
             files.AddFile("C:\\Praxo\\Images\\1_a.jpg", "a");
         },
         " CaptureDevice, Err Number: 75 Err Description: The registration program C:\\SCANSUITE\\bin\\Enrolix.exe "
         "could not be started: Not a valid program (11) 4"},
    };
    for (const auto& c : cases) {
        shell.result = 42;
        Equip(kEquip);
        Praxo("[System]\nPgmsDir=C:\\Praxo\\Pgms\n");
        files.failingLists.clear();
        files.Forget("C:\\Plugin\\Orvanta.log");
        files.Forget("C:\\Plugin\\PX_IF_Orvanta.err");
        boxes.shown.clear();
        c.arrange();
        EXPECT_EQ(object.CaptureDevice(), u"") << c.what;
        EXPECT_EQ(ErrorText(), c.text) << c.what;
        ASSERT_FALSE(boxes.shown.empty()) << c.what;
        EXPECT_EQ(boxes.shown.back().caption, "PXEquipIF OrvantaIF Error");
        EXPECT_NE(boxes.shown.back().text.find("\r\n" + c.text), std::string::npos) << c.what;
        EXPECT_THAT(CrLfLines(PluginFile("PX_IF_Orvanta.err"))[1], ::testing::EndsWith(" Error in: " + c.text));
    }
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(files.Names(kImages), (std::vector<std::string>{"Data", "1_a.jpg"}));
    EXPECT_EQ(files.Names(kReview), std::vector<std::string>{});
}

TEST_F(Capture, AFailedDeleteKeepsTheFileInBothFoldersAndStopsTheMove) {
    files.AddFile("C:\\Praxo\\Images\\1_a.jpg", "a");
    files.AddFile("C:\\Praxo\\Images\\2_b.jpg", "b");
    files.AddFile("C:\\Praxo\\Images\\3_c.jpg", "c");
    files.undeletable.insert("C:\\PRAXO\\IMAGES\\2_B.JPG");
    EXPECT_EQ(object.CaptureDevice(), u"");
    EXPECT_EQ(ErrorText(), " CaptureDevice, Err Number: 70 Err Description: Permission denied 6");
    EXPECT_EQ(files.Names(kReview), (std::vector<std::string>{"1_678_a.jpg", "2_678_b.jpg"}));
    EXPECT_EQ(files.Names(kImages), (std::vector<std::string>{"2_b.jpg", "3_c.jpg", "Data"}));

    // A read-only file is not forced; on Cancel and Yes the marker is that of the question.
    files.undeletable.clear();
    files.FindMutable("C:\\Praxo\\Images\\2_b.jpg")->readOnly = true;
    files.Forget("C:\\Plugin\\Orvanta.log");
    boxes.answers = {MsgAnswer::Cancel, MsgAnswer::Yes};
    EXPECT_EQ(object.CaptureDevice(), u"");
    EXPECT_EQ(ErrorText(), " CaptureDevice, Err Number: 70 Err Description: Permission denied 5");
}

TEST_F(Capture, ACopyThatIsNotWholeKeepsTheSource) {
    files.AddFile("C:\\Praxo\\Images\\1_a.jpg", "image data");
    files.AddFolder(kReview);
    files.shortCopies.insert("C:\\PRAXO\\IMAGES\\DATA\\1_678_A.JPG");
    EXPECT_EQ(object.CaptureDevice(), u"");
    EXPECT_EQ(ErrorText(), " CaptureDevice, Err Number: 57 Err Description: Device I/O error 6");
    EXPECT_EQ(files.Content("C:\\Praxo\\Images\\1_a.jpg"), "image data");

    files.shortCopies.clear();
    files.failingCopies.insert("C:\\PRAXO\\IMAGES\\DATA\\1_678_A.JPG");
    files.Forget("C:\\Plugin\\Orvanta.log");
    EXPECT_EQ(object.CaptureDevice(), u"");
    EXPECT_EQ(ErrorText(), " CaptureDevice, Err Number: 70 Err Description: Permission denied 6");
    EXPECT_TRUE(files.HasFile("C:\\Praxo\\Images\\1_a.jpg"));
}

TEST_F(Capture, DoDeviceFunctionRunsTheCaptureByName) {
    files.AddFile("C:\\Praxo\\Images\\1_a.jpg", "a");
    object.DeviceName = u"Capture Nikon";  // outside the catalogue: no settings, no folder
    EXPECT_EQ(object.DoDeviceFunction(), u"");
    EXPECT_EQ(ErrorText(), " CaptureDevice, Err Number: 76 Err Description: Path not found 1");
    EXPECT_EQ(boxes.shown.size(), 1u);  // the capture's own report only

    object.DeviceName = u"Capture Sorvane";
    EXPECT_EQ(object.DoDeviceFunction(), u"Was OK");
    EXPECT_TRUE(files.HasFile("C:\\Praxo\\Images\\Data\\1_678_a.jpg"));
}

}  // namespace
}  // namespace orvanta::test
