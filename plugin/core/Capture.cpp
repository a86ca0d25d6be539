#include "plugin/core/Capture.h"

#include <cstdio>

#include "plugin/core/CaptureFolders.h"
#include "plugin/core/FileSystemObject.h"
#include "plugin/core/HostConfig.h"
#include "plugin/core/ImageList.h"
#include "plugin/core/OrvantaObject.h"
#include "plugin/core/Text.h"
#include "plugin/core/Trap.h"

namespace orvanta {

namespace {

constexpr int kShowNormal = 5;
constexpr std::intptr_t kStartFailed = 32;  // a shell result of this or less: nothing was started
constexpr std::u16string_view kWaitingText = u"Waiting for Technician  -  Place files in ";

platform::MsgAnswer Ask(Services& services, std::u16string_view text, std::u16string_view title,
                        platform::MsgButtons buttons) {
    return services.boxes.Show(services.locale.ToAnsi(text), services.locale.ToAnsi(title), {buttons});
}

}  // namespace

template <class Char>
std::basic_string<Char> Quote(std::basic_string_view<Char> text) {
    std::basic_string<Char> quoted(1, Char('"'));
    std::size_t backslashes = 0;
    for (Char c : text) {
        if (c == Char('\\')) {
            ++backslashes;
            continue;
        }
        // Backslashes before a double quote are doubled, and the quote itself escaped; others stay as they are.
        quoted.append(c == Char('"') ? backslashes * 2 + 1 : backslashes, Char('\\'));
        backslashes = 0;
        quoted += c;
    }
    // Before the closing quote too.
    quoted.append(backslashes * 2, Char('\\'));
    quoted += Char('"');
    return quoted;
}

template <class Char>
std::basic_string<Char> CommandLine(const std::vector<std::basic_string<Char>>& arguments) {
    std::basic_string<Char> line;
    for (const auto& argument : arguments) {
        if (!line.empty()) line += Char(' ');
        line += Quote<Char>(argument);
    }
    return line;
}

template std::string Quote<char>(std::string_view);
template std::u16string Quote<char16_t>(std::u16string_view);
template std::string CommandLine<char>(const std::vector<std::string>&);
template std::u16string CommandLine<char16_t>(const std::vector<std::u16string>&);

std::u16string CaptureDateText(const std::tm& now, std::u16string_view separator) {
    char month[8], day[8], year[8];
    std::snprintf(month, sizeof month, "%02d", (now.tm_mon + 1) % 100);
    std::snprintf(day, sizeof day, "%02d", now.tm_mday % 100);
    std::snprintf(year, sizeof year, "%04d", (now.tm_year + 1900) % 10000);
    std::u16string text(month, month + 2);
    text += separator;
    text.append(day, day + 2);
    text += separator;
    text.append(year, year + 4);
    return text;
}

VbError ShellStartError(std::u16string_view program, std::intptr_t shellResult) {
    struct Answer {
        std::intptr_t result;
        std::int32_t number;
        std::u16string_view text;
    };
    static constexpr Answer kAnswers[] = {
        {0, vb::kOutOfMemory, u"Out of memory or resources"},
        {2, vb::kFileNotFound, u"File not found"},
        {3, vb::kPathNotFound, u"Path not found"},
        {5, vb::kPermissionDenied, u"Access denied"},
        {8, vb::kOutOfMemory, u"Out of memory"},
        {11, vb::kPathFileAccessError, u"Not a valid program"},
        {26, vb::kPermissionDenied, u"Sharing violation"},
        {27, vb::kPathFileAccessError, u"Incomplete file association"},
        {28, vb::kPathFileAccessError, u"The request timed out"},
        {29, vb::kPathFileAccessError, u"The request failed"},
        {30, vb::kPathFileAccessError, u"Busy with another request"},
        {31, vb::kPathFileAccessError, u"No program is associated with the file"},
        {32, vb::kPathFileAccessError, u"A library it needs was not found"},
    };
    Answer answer{shellResult, vb::kPathFileAccessError, u"Shell error"};
    for (const Answer& known : kAnswers)
        if (known.result == shellResult) answer = known;
    std::u16string description = u"The registration program ";
    description += program;
    description += u" could not be started: ";
    description += answer.text;
    description += u" (";
    description += Decimal(shellResult);
    description += u")";
    return VbError(answer.number, std::move(description));
}

std::u16string ProgramFolder(std::u16string_view program) {
    std::size_t slash = program.rfind(u'\\');
    return slash == program.npos ? std::u16string() : std::u16string(program.substr(0, slash + 1));
}

std::u16string OrvantaObject::CaptureDevice() {
    std::u16string result;
    Trap trap = Trap::Operation(services_, u"CaptureDevice", Trap::kWithMarker);
    trap.Run([&] { result = Capture(trap); });
    return result;
}

std::u16string OrvantaObject::Capture(Trap& trap) {
    auto& locale = services_.locale;
    LoadEquipProps(DeviceName);
    const CaptureFolders folders = ReadCaptureFolders(services_, DeviceName, EquipProgPathFName, EquipDataPath);
    EquipProgPathFName = folders.program;
    EquipDataPath = folders.acquisition;
    const std::u16string& acquisition = folders.acquisition;
    const std::u16string& review = folders.review;
    // Nothing is created, started or moved in a configuration that would move the host's or earlier files.
    if (auto refusal = FindCaptureRefusal(services_, folders, ReadProgramsFolder(services_));
        refusal != CaptureRefusal::kNone)
        throw VbError(vb::kPathFileAccessError, CaptureRefusalText(refusal, DeviceName, folders));

    trap.Step(1);
    FileSystemObject fso(services_);
    if (!fso.FolderExists(acquisition)) fso.CreateFolder(acquisition);
    if (!fso.FolderExists(review)) fso.CreateFolder(review);
    captureDate_ = CaptureDateText(services_.clock.LocalNow(), locale.DateSeparator());

    trap.Step(2);
    const std::u16string programFolder = ProgramFolder(EquipProgPathFName);
    if (!programFolder.empty() && fso.FolderExists(programFolder)) fso.SetWorkingFolder(programFolder);

    trap.Step(3);
    // Each argument as the program will read it (the code page's substitutes in place, so that none turns into a
    // quote or a backslash after the quoting), quoted as UTF-16 so that a double-byte character stays whole, then
    // the whole line in the code page.
    auto inCodePage = [&](std::u16string_view text) { return locale.FromAnsi(locale.ToAnsi(text)); };
    std::u16string middleName = MiddleName.empty() ? std::u16string(u"n/a") : MiddleName;
    std::string parameters = locale.ToAnsi(CommandLine<char16_t>(
        {inCodePage(PatientFileKey(PATIENTID)), inCodePage(LastName), inCodePage(FirstName), inCodePage(middleName),
         inCodePage(Gender), inCodePage(DateOfBirth), u"n/a", inCodePage(captureDate_), u"1"}));

    trap.Step(4);
    if (!fso.FileExists(EquipProgPathFName)) {
        Ask(services_, u"File Not Found", u"Attention", platform::MsgButtons::Ok);
        return {};
    }
    std::intptr_t started = services_.shell.Execute(nullptr, "open", locale.ToAnsi(EquipProgPathFName), parameters,
                                                    locale.ToAnsi(programFolder), kShowNormal);
    // A program that did not start registers nobody: nothing is waited for or moved.
    if (started <= kStartFailed) throw ShellStartError(EquipProgPathFName, started);

    trap.Step(5);
    std::u16string waiting = std::u16string(kWaitingText) + acquisition;
    if (Ask(services_, waiting, u"Orvanta Capture", platform::MsgButtons::OkCancel) == platform::MsgAnswer::Ok) {
        trap.Step(6);
        for (const auto& name : fso.FileNames(acquisition)) {
            std::u16string source = acquisition + u"\\" + name;
            std::u16string target = ParseFileName(name, review);
            fso.CopyOneFile(source, target, true);
            // The source goes only once its copy is there whole.
            if (!fso.FileExists(target) || fso.FileSize(target) != fso.FileSize(source))
                throw VbError(vb::kDeviceIoError);
            fso.DeleteOneFile(source);
        }
    } else if (Ask(services_, u"Do you want to delete current files?", u"Attention", platform::MsgButtons::YesNo) ==
               platform::MsgAnswer::Yes) {
        for (const auto& name : fso.FileNames(acquisition)) fso.DeleteOneFile(acquisition + u"\\" + name);
    }
    return u"Was OK";
}

}  // namespace orvanta
