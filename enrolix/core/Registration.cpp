#include "enrolix/core/Registration.h"

#include <cstdint>
#include <limits>

#include "enrolix/core/Log.h"
#include "enrolix/core/SiteConfig.h"
#include "enrolix/core/SqlText.h"
#include "enrolix/core/Text.h"

namespace enrolix {
namespace {

constexpr const char* kOperation = "CreateDBPatient";

// Reads column 1 of the first row into target; a query without a row leaves it unchanged.
bool ReadValue(platform::IDbConnection& connection, const std::string& sql, std::string& target) {
    auto rows = connection.QueryFirstColumn(sql);
    if (rows.empty()) return false;
    target = rows.front();
    return true;
}

int CountOf(platform::IDbConnection& connection, const std::string& sql, int current) {
    std::string text;
    if (!ReadValue(connection, sql, text)) return current;
    std::int64_t count = LeadingInteger(text);
    if (count > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (count < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(count);
}

// The next number after the maximum that the query returns; start when it returns no row.
std::int64_t NextNumber(platform::IDbConnection& connection, const std::string& sql, std::int64_t start) {
    std::string text;
    if (!ReadValue(connection, sql, text)) return start;
    std::int64_t maximum = LeadingInteger(text);
    return maximum == std::numeric_limits<std::int64_t>::max() ? maximum : maximum + 1;
}

std::int32_t LowSeconds(Tool& tool) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(tool.clock.UnixNow() & 0xffffffff));
}

std::string NameCountSql(const std::string& lastUpper, const std::string& firstUpper, const std::string& dob) {
    return "SELECT count(*) FROM Patient WHERE UPPER(LNAME)=N'" + SqlText(lastUpper) + "' AND UPPER(FNAME)=N'" +
           SqlText(firstUpper) + "' AND DOB=N'" + SqlText(dob) + "'";
}

}  // namespace

std::string NewUniqueId(Tool& tool) {
    platform::UuidResult uuid = tool.system.CreateUuid();
    bool allZero = true;
    for (auto byte : uuid.bytes) allZero = allZero && byte == 0;
    if ((uuid.status & 0xffff) != 0 || allZero) return std::to_string(LowSeconds(tool));
    std::string text;
    for (auto byte : uuid.bytes) text += FormatText("%02x", static_cast<unsigned>(byte));
    return text;
}

std::string FindMachineId(Tool& tool, platform::IDbConnection& connection, const std::string& machineName,
                          bool* fromFallback) {
    std::string machineId;
    Guarded(tool, kOperation, [&] {
        ReadValue(connection, "SELECT SYS_PRODUCT FROM SYSMACHINES WHERE SYS_NAME = N'" + SqlText(machineName) + "'",
                  machineId);
    });
    if (fromFallback) *fromFallback = machineId.empty();
    if (machineId.empty()) {
        Guarded(tool, kOperation, [&] {
            ReadValue(connection, "SELECT SYS_PRODUCT FROM SYSMACHINES WHERE SYS_NAME is NULL ORDER BY SYS_ID ASC",
                      machineId);
        });
    }
    return machineId;
}

int CreateDBPatient(Tool& tool, platform::IDbConnection& connection, PatientRequest request) {
    if (!connection.IsOpen()) return 0;

    int result = 0;
    if (!request.EmrId.empty()) {
        Guarded(tool, kOperation, [&] {
            result = CountOf(
                connection,
                "SELECT count(*) From Patient WHERE UPPER(EMR_ID) = N'" + SqlText(UpperCase(tool, request.EmrId)) + "'",
                result);
        });
    }
    if (result > 1) return kMultipleEmrIds;
    if (result == 1) return 1;

    const std::string lastUpper = UpperCase(tool, request.LastName);
    const std::string firstUpper = UpperCase(tool, request.FirstName);
    const std::string nameCount = NameCountSql(lastUpper, firstUpper, request.DateOfBirth);
    if (!Guarded<Catches::DbErrorsOnly>(tool, kOperation, [&] { result = CountOf(connection, nameCount, result); }))
        result = kNameCountFailed;
    if (result > 1 && request.NewFlag == 1) return kMultipleNameMatches;
    if (result != 0) return result;

    const std::string machineId = FindMachineId(tool, connection, GetMachineName(tool));
    const std::string machine = SqlText(machineId);

    std::int64_t patientId = 0;
    std::string strPatientId;
    Guarded(tool, kOperation, [&] {
        patientId =
            NextNumber(connection, "Select Max(PATIENT_ID) From Patient where MACHINE_ID = N'" + machine + "'", 0);
        strPatientId = NewUniqueId(tool);
    });

    Guarded(tool, kOperation, [&] {
        connection.Execute(
            "INSERT INTO Patient ([MACHINE_ID], [PATIENT_ID], [STR_PATIENT_ID], [LNAME], [FName], [MName], [GENDER], "
            "[DOB], [EMR_ID], [ANCESITY]) VALUES (N'" +
            machine + "', " + std::to_string(patientId) + ", N'" + SqlText(strPatientId) + "', N'" +
            SqlText(request.LastName) + "', N'" + SqlText(request.FirstName) + "', N'" + SqlText(request.MiddleName) +
            "', N'" + SqlText(request.Gender) + "', N'" + SqlText(request.DateOfBirth) + "', N'" +
            SqlText(request.EmrId) + "', N'" + SqlText(request.Ethnicity) + "')");
    });

    Guarded(tool, kOperation, [&] { result = CountOf(connection, nameCount, result); });
    if (result != 1) return result;

    std::string patientIdText;
    Guarded(tool, kOperation, [&] {
        ReadValue(connection,
                  "Select PATIENT_ID From PATIENT WHERE UPPER(LNAME)=N'" + SqlText(lastUpper) +
                      "' AND UPPER(FNAME)=N'" + SqlText(firstUpper) + "' AND DOB=N'" + SqlText(request.DateOfBirth) +
                      "'",
                  patientIdText);
    });

    std::int64_t visitId = 0;
    Guarded(tool, kOperation, [&] { visitId = NextNumber(connection, "Select MAX(VISIT_ID) From VISIT", 0); });

    const std::string originalId = NewUniqueId(tool);
    const std::int32_t visitTime = LowSeconds(tool);

    Guarded(tool, kOperation, [&] {
        connection.Execute("Insert into VISIT (MACHINE_ID, VISIT_ID, ORIGINAL_ID, VISIT_TIME) VALUES (N'" + machine +
                           "', " + std::to_string(visitId) + ", N'" + SqlText(originalId) + "', " +
                           std::to_string(visitTime) + ")");
    });
    Guarded(tool, kOperation, [&] {
        connection.Execute("Insert into PATIENTVISIT (MACHINE_ID, VISIT_ID, PATIENT_ID) VALUES (N'" + machine + "', " +
                           std::to_string(visitId) + ", " + patientIdText + ")");
    });
    return result;
}

}  // namespace enrolix
