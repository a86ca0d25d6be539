// The tool's command line, split as Windows splits it, into a patient request: every field is its argument,
// "n/a" in any case reads empty except in the date of birth, NewFlag is 1 only for "1", and fewer than nine
// arguments leave the request fresh.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "enrolix/core/PatientRequest.h"
#include "tools/common/CommandLine.h"

namespace {

bool IsNotApplicable(const std::string& text) {
    if (text.size() != 3) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(text[0]) == 'n' && text[1] == '/' && lower(text[2]) == 'a';
}

std::string Value(const std::string& argument) { return IsNotApplicable(argument) ? std::string() : argument; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string tail(reinterpret_cast<const char*>(data), size);
    tail = tail.substr(0, tail.find('\0'));  // a command line ends at its terminator
    std::vector<std::string> argv = tools::SplitCommandLine(("C:\\SCANSUITE\\bin\\Enrolix.exe " + tail).c_str());
    std::vector<std::string> arguments(argv.begin() + 1, argv.end());

    enrolix::PatientRequest request = enrolix::ParsePatientRequest(arguments);
    if (arguments.size() < enrolix::kRequestArguments) {
        fuzz::Check(request.EmrId.empty() && request.LastName.empty() && request.FirstName.empty() &&
                        request.MiddleName.empty() && request.Gender.empty() && request.DateOfBirth.empty() &&
                        request.Ethnicity.empty() && request.CaptureDate.empty() && request.NewFlag == 0,
                    "a short command line leaves the request fresh", tail);
        return 0;
    }
    const std::string* fields[] = {&request.EmrId,  &request.LastName,    &request.FirstName, &request.MiddleName,
                                   &request.Gender, &request.DateOfBirth, &request.Ethnicity, &request.CaptureDate};
    for (std::size_t i = 0; i < 8; ++i) {
        const std::string expected = i == 5 ? arguments[i] : Value(arguments[i]);
        fuzz::Check(*fields[i] == expected, "each field is its argument", *fields[i], expected);
    }
    fuzz::Check(request.NewFlag == (arguments[8] == "1" ? 1 : 0), "NewFlag is 1 only for \"1\"", arguments[8]);
    return 0;
}
