#include "enrolix/core/Enrolix.h"

#include "enrolix/core/Connect.h"
#include "enrolix/core/Log.h"
#include "enrolix/core/PatientRequest.h"
#include "enrolix/core/Registration.h"

namespace enrolix {
namespace {

int RegisterPatient(Tool& tool, const std::vector<std::string>& arguments) {
    if (!tool.system.HaveModuleHandle()) return kNoModuleHandle;
    if (arguments.size() < kRequestArguments) return kInvalidParameters;

    PatientRequest request = ParsePatientRequest(arguments);
    if (request.NewFlag != 1) return kNewFlagOff;

    std::unique_ptr<platform::IDbConnection> connection;
    int connected = 0;
    // Connection failures are reported inside; anything that escapes them still ends as a failed connection.
    Guarded(tool, "main", [&] {
        connection = tool.db.NewConnection();
        connected = ConnectToDatabase(tool, *connection);
    });

    int result = kConnectFailed;
    if (connected == 1) {
        result = 0;
        Guarded(tool, "main", [&] { result = CreateDBPatient(tool, *connection, request); });
    }
    if (connection) {
        try {
            if (connection->IsOpen()) connection->Close();
        } catch (...) {
        }
    }
    return result;
}

}  // namespace

std::string ResultMessage(int code) {
    switch (code) {
        case kNoModuleHandle:
            return "Fatal Error: GetModuleHandle failed";
        case kFrameworkFailed:
            return "Fatal Error: MFC initialization failed";
        case kInvalidParameters:
            return "Invalid parameters";
        case kNewFlagOff:
            return "Skip the add patient because of the new flag is off";
        case kConnectFailed:
            return "Failed to connect the database";
        case kMultipleEmrIds:
            return "Patient is not added, because multiple patients have the same EMR_ID in the database";
        case kMultipleNameMatches:
            return "Patient is not added, because multiple patients have the same last name, first name, and date "
                   "of birth in the database";
        default:
            return code < 1 ? "Failed to create patient in database" : "";
    }
}

int RunEnrolix(Tool& tool, const std::vector<std::string>& arguments) {
    tool.system.DetachConsole();
    const int result = RegisterPatient(tool, arguments);
    const std::string message = ResultMessage(result);
    if (!message.empty()) tool.boxes.Show(message, "Error", platform::MsgStyle{});
    return result;
}

}  // namespace enrolix
