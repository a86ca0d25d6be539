// The capture's command line for the registration program: split by the C runtime's rules it gives back nine
// arguments equal to the host's texts, and the registration program reads them into a request that holds
// those texts.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "enrolix/core/PatientRequest.h"
#include "plugin/core/Capture.h"
#include "tools/common/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> texts = fuzz::Fields(data, size, '\n');
    texts.resize(6);
    for (std::string& text : texts) text = text.substr(0, text.find('\0'));  // texts end at their terminator
    const std::string& key = texts[0];
    const std::string& lastName = texts[1];
    const std::string& firstName = texts[2];
    const std::string middleName = texts[3].empty() ? "n/a" : texts[3];
    const std::string& gender = texts[4];
    const std::string& dateOfBirth = texts[5];
    const std::vector<std::string> arguments = {key,         lastName, firstName,    middleName, gender,
                                                dateOfBirth, "n/a",    "12/08/2026", "1"};

    const std::string line = "C:\\SCANSUITE\\bin\\Enrolix.exe " + orvanta::CommandLine(arguments);
    const std::vector<std::string> argv = tools::SplitCommandLine(line.c_str());
    fuzz::Check(argv.size() == 10, "nine arguments come back", line);
    for (std::size_t i = 0; i < arguments.size(); ++i)
        fuzz::Check(argv[i + 1] == arguments[i], "each argument comes back as the host's text", argv[i + 1],
                    arguments[i]);

    const enrolix::PatientRequest request =
        enrolix::ParsePatientRequest(std::vector<std::string>(argv.begin() + 1, argv.end()));
    auto value = [](const std::string& text) {
        const bool notApplicable = text.size() == 3 && (text[0] == 'n' || text[0] == 'N') && text[1] == '/' &&
                                   (text[2] == 'a' || text[2] == 'A');
        return notApplicable ? std::string() : text;
    };
    fuzz::Check(request.EmrId == value(key) && request.LastName == value(lastName) &&
                    request.FirstName == value(firstName) && request.MiddleName == value(texts[3]) &&
                    request.Gender == value(gender) && request.DateOfBirth == dateOfBirth && request.NewFlag == 1,
                "the registration program's request holds the host's texts", request.LastName, lastName);
    return 0;
}
