// Registering the requested patient and a first visit in the imaging database.
#pragma once

#include <string>

#include "enrolix/core/PatientRequest.h"
#include "enrolix/core/Tool.h"

namespace enrolix {

// Results of CreateDBPatient below 1.
inline constexpr int kMultipleEmrIds = -5;
inline constexpr int kMultipleNameMatches = -3;
inline constexpr int kNameCountFailed = -2;

// 1 when the patient and a first visit were created, or the patient was already present (by EMR id, or by last
// name, first name and date of birth); above 1 when several patients match after the insert; 0 when the
// connection is closed or the new patient cannot be found; -2, -3 or -5 as named above.
int CreateDBPatient(Tool& tool, platform::IDbConnection& connection, PatientRequest request);

// The machine identifier (SYSMACHINES.SYS_PRODUCT) of the row named machineName, else of the first row without a
// name; empty when neither gives one. fromFallback tells whether the named row gave none.
std::string FindMachineId(Tool& tool, platform::IDbConnection& connection, const std::string& machineName,
                          bool* fromFallback = nullptr);

// 32 lowercase hex digits of a new UUID in memory order; the current time in seconds when none can be made.
std::string NewUniqueId(Tool& tool);

}  // namespace enrolix
