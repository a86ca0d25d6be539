// Local SQL Server maintenance and the file utilities it rests on.
#pragma once

#include <string>

#include "enrolix/core/Tool.h"

namespace enrolix {

inline constexpr const char* kEmptyDbTemplate = "C:\\Orvanta\\Database\\RestoreEmptyDB\\Empty_PATIENT.mdf";

// The platform's status query succeeds and the path is not a folder.
bool ExistsAsFile(Tool& tool, const std::string& path);
// Two spellings of one path: case, slashes for backslashes, doubled separators, "." and ".." segments.
bool IsSamePath(const std::string& a, const std::string& b);

std::string GetFolderOfPath(const std::string& path);
int ClearReadOnly(Tool& tool, const std::string& path);
int MakeFileReadOnly(Tool& tool, const std::string& path);
int HardDeleteFile(Tool& tool, const std::string& path);
int HardCopyFile(Tool& tool, const std::string& source, const std::string& target);  // codes 0 to 3

int DatabaseExists(Tool& tool, platform::IDbConnection* connection, const std::string& name);
void GetDBFilePath(Tool& tool, platform::IDbConnection* connection, const std::string& name, std::string& dataFile,
                   std::string& logFile);
int ForceDBDisconnect(Tool& tool, platform::IDbConnection* connection, const std::string& name);
int DetachDB(Tool& tool, platform::IDbConnection* connection, const std::string& name);
int DropDB(Tool& tool, platform::IDbConnection* connection, const std::string& name);
int RestoreDB(Tool& tool, platform::IDbConnection* connection, const std::string& name, const std::string& sourceFile,
              const std::string& databaseFolder);
int SwitchSQLDBToLocal(Tool& tool, const std::string& localDatabaseFile);

}  // namespace enrolix
