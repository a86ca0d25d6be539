// The imaging site's INI files and the connection strings built from them.
#pragma once

#include <string>

#include "enrolix/core/Tool.h"

namespace enrolix {

inline constexpr const char* kSystemSetIni = "C:\\Orvanta\\SystemSet.ini";
inline constexpr const char* kSqlInstallIni = "C:\\Orvanta\\Database\\SqlInstall.ini";

inline constexpr const char* kSqlServerDriver = "SQL Server";
inline constexpr const char* kInterBaseDriver = "Gemini InterBase ODBC Driver 2.0";
inline constexpr const char* kPlainPassword = "tumbleoak";
inline constexpr const char* kPolicyPassword = "velvetoak#317";
inline constexpr const char* kDefaultInstance = "SQLKOR";
inline constexpr const char* kImagingDatabaseName = "PATIENT";
inline constexpr const char* kServerDatabase = "MASTER";
inline constexpr const char* kLocalServer = "localhost";

// The current directory cut before its first "bin" (case-sensitive); all of it when "bin" is missing.
std::string GetSoftwareFolder(Tool& tool);
// "<software folder>\bin\TomoCfg.ini", without adding any separator of its own.
std::string TomoCfgPath(Tool& tool);
// "<software folder>db_repository\PATIENT.mdf" (SQL Server) or "...\PATIENT.ib" (InterBase).
std::string LocalDatabaseFile(Tool& tool, bool sqlServer);

// A TomoCfg.ini value, trimmed; empty when missing.
std::string ReadSiteSetting(Tool& tool, const std::string& section, const std::string& key);
// Empty filePath means TomoCfg.ini. True when the platform wrote it.
bool WriteSiteSetting(Tool& tool, const std::string& filePath, const std::string& section, const std::string& key,
                      const std::string& value);

std::string GetLocalComputerName(Tool& tool);
// SystemSet.ini Machine/MachineName, or the computer name when that is empty.
std::string GetMachineName(Tool& tool);
// 1 when TomoCfg.ini names "SQL Server" (any case) as the database, else 0; worked out once per run.
int IsSQLServerDatabase(Tool& tool);

// Read anew at every call, so that a switched password is always used.
std::string BuildSQLConnectString(Tool& tool, const std::string& databaseName, const std::string& server);
std::string BuildIBConnectString(const std::string& server, const std::string& databaseFile);

}  // namespace enrolix
