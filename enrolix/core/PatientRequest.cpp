#include "enrolix/core/PatientRequest.h"

#include "enrolix/core/Text.h"

namespace enrolix {
namespace {

std::string ValueOf(const std::string& argument) { return EqualsNoCase(argument, "n/a") ? std::string() : argument; }

}  // namespace

PatientRequest ParsePatientRequest(const std::vector<std::string>& arguments) {
    PatientRequest request;
    if (arguments.size() < kRequestArguments) return request;
    request.EmrId = ValueOf(arguments[0]);
    request.LastName = ValueOf(arguments[1]);
    request.FirstName = ValueOf(arguments[2]);
    request.MiddleName = ValueOf(arguments[3]);
    request.Gender = ValueOf(arguments[4]);
    request.DateOfBirth = arguments[5];
    request.Ethnicity = ValueOf(arguments[6]);
    request.CaptureDate = ValueOf(arguments[7]);
    request.NewFlag = arguments[8] == "1" ? 1 : 0;
    return request;
}

}  // namespace enrolix
