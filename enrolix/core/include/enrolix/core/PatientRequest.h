// The patient request, filled from the tool's command line.
#pragma once

#include <string>
#include <vector>

namespace enrolix {

inline constexpr std::size_t kRequestArguments = 9;

struct PatientRequest {
    std::string EmrId;
    std::string LastName;
    std::string FirstName;
    std::string MiddleName;
    std::string Gender;
    std::string DateOfBirth;
    std::string Ethnicity;
    std::string CaptureDate;
    int NewFlag = 0;
};

// Fills a request from the arguments after the program name (at least nine; later ones are ignored).
// "n/a" in any case stands for an empty value, except in the date of birth; NewFlag is 1 only for "1".
PatientRequest ParsePatientRequest(const std::vector<std::string>& arguments);

}  // namespace enrolix
