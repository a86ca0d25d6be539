// The imaging site's INI files and the connection strings built from them.
#pragma once

#include <string>

#include "Tool.h"

namespace enrolix {

inline constexpr const char* kSystemSetIni = "C:\\Orvanta\\SystemSet.ini";
inline constexpr const char* kSqlInstallIni = "C:\\Orvanta\\Database\\SqlInstall.ini";

std::string GetSoftwareFolder(Tool& tool);
std::string ReadSiteSetting(Tool& tool, const std::string& section, const std::string& key);
bool WriteSiteSetting(Tool& tool, const std::string& filePath, const std::string& section, const std::string& key,
                      const std::string& value);  // empty filePath means TomoCfg.ini
std::string GetLocalComputerName(Tool& tool);
std::string GetMachineName(Tool& tool);
int IsSQLServerDatabase(Tool& tool);
std::string BuildSQLConnectString(Tool& tool, const std::string& databaseName, const std::string& server);
std::string BuildIBConnectString(const std::string& server, const std::string& databaseFile);

}  // namespace enrolix
