// Puts the local SQL Server back onto the site's own PATIENT.mdf: look-ups, detach, drop and attach.
#include "enrolix/core/Maintenance.h"

#include <cctype>
#include <memory>
#include <source_location>

#include "enrolix/core/Log.h"
#include "enrolix/core/SiteConfig.h"
#include "enrolix/core/SqlText.h"
#include "enrolix/core/Text.h"

namespace enrolix {

namespace {

constexpr const char* kImagingDatabase = "PATIENT";
constexpr const char* kDataFileName = "PATIENT.mdf";
constexpr const char* kLogFileName = "PATIENT_Log.ldf";
constexpr const char* kBackupFolderName = "BackupSQL";
constexpr std::size_t kErrorTextLimit = 1023;

std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string InFolder(const std::string& folder, const char* name) { return FormatText("%s\\%s", folder.c_str(), name); }

std::string DetachStatement(const std::string& name) {
    return FormatText("sp_detach_db @dbname = '%s', @skipchecks = true", SqlText(name).c_str());
}

// Executes one statement in a guarded block; 1 when it ran.
int ExecuteGuarded(Tool& tool, const char* operation, platform::IDbConnection& connection, const std::string& sql,
                   std::source_location where = std::source_location::current()) {
    int result = 0;
    Guarded(
        tool, operation,
        [&] {
            connection.Execute(sql);
            result = 1;
        },
        where);
    return result;
}

// After a forced single-user detach that still failed, the database stays registered: give it back to the other
// programs that use it.
void RestoreMultiUser(Tool& tool, platform::IDbConnection& connection, const std::string& name) {
    ExecuteGuarded(tool, "DetachDB", connection, FormatText("alter database %s set multi_user", name.c_str()));
}

}  // namespace

int DatabaseExists(Tool&, platform::IDbConnection* connection, const std::string& name) {
    if (!connection) return 0;
    try {
        auto rows = connection->QueryFirstColumn(
            FormatText("SELECT count(*) FROM sys.databases WHERE name = N'%s'", SqlText(name).c_str()));
        if (rows.empty()) return 0;
        return LeadingInteger(Trim(rows.front())) > 0 ? 1 : 0;
    } catch (const platform::DbError&) {
        return 0;
    }
}

void GetDBFilePath(Tool& tool, platform::IDbConnection* connection, const std::string& name, std::string& dataFile,
                   std::string& logFile) {
    if (!connection || name.empty()) return;
    dataFile.clear();
    logFile.clear();
    Guarded(tool, "GetDBFilePath", [&] {
        auto rows = connection->QueryFirstColumn(
            FormatText("SELECT physical_name FROM master.sys.master_files WHERE database_id in (SELECT dbid from "
                       "master.sys.sysdatabases where name = N'%s')",
                       SqlText(name).c_str()));
        for (const auto& row : rows) {
            std::string path = Lowered(Trim(row));
            if (path.find(".mdf", 1) != std::string::npos) {
                dataFile = path;
            } else if (path.find(".ldf", 1) != std::string::npos) {
                logFile = path;
            }
        }
    });
}

int ForceDBDisconnect(Tool& tool, platform::IDbConnection* connection, const std::string& name) {
    if (!connection || name.empty()) return 0;
    return ExecuteGuarded(tool, "ForceDBDisconnect", *connection,
                          FormatText("alter database %s set single_user with rollback immediate", name.c_str()));
}

int DetachDB(Tool& tool, platform::IDbConnection* connection, const std::string& name) {
    if (!connection || name.empty()) return 0;
    int result = 0;
    bool forced = false;
    const std::string statement = DetachStatement(name);
    Guarded(tool, "DetachDB", [&] {
        try {
            connection->Execute(statement);
            result = 1;
        } catch (const platform::DbError& e) {
            std::string text = std::string(e.what()).substr(0, kErrorTextLimit);
            if (text.find("Query timeout") == std::string::npos) return;
            if (ForceDBDisconnect(tool, connection, name) != 1) return;
            forced = true;
            connection->Execute(statement);
            result = 1;
        }
    });
    if (forced && result == 0) RestoreMultiUser(tool, *connection, name);
    return result;
}

int DropDB(Tool& tool, platform::IDbConnection* connection, const std::string& name) {
    if (!connection || name.empty()) return 0;
    return ExecuteGuarded(tool, "DropDB", *connection, FormatText("drop database %s", name.c_str()));
}

int RestoreDB(Tool& tool, platform::IDbConnection* connection, const std::string& name, const std::string& sourceFile,
              const std::string& databaseFolder) {
    if (!connection || name.empty()) return 0;
    if (!ExistsAsFile(tool, sourceFile)) return 0;
    const std::string dataFile = InFolder(databaseFolder, kDataFileName);
    const std::string logFile = InFolder(databaseFolder, kLogFileName);
    // A data file of its own at the target may hold a site's patients: it is never replaced by another file.
    if (!IsSamePath(sourceFile, dataFile) && ExistsAsFile(tool, dataFile)) {
        LogMessage(tool, kLogError, "Failed to RestoreDB %s: %s already exists and is kept", name.c_str(),
                   dataFile.c_str());
        return 0;
    }
    std::string statement;
    if (ExistsAsFile(tool, logFile)) HardDeleteFile(tool, logFile);
    if (HardCopyFile(tool, sourceFile, dataFile) == 0 && ClearReadOnly(tool, dataFile) == 1) {
        statement = FormatText("CREATE DATABASE %s ON (FILENAME = N'%s') FOR ATTACH_REBUILD_LOG", name.c_str(),
                               SqlText(dataFile).c_str());
    }
    if (statement.empty()) return 0;
    return ExecuteGuarded(tool, "RestoreDB", *connection, statement);
}

int SwitchSQLDBToLocal(Tool& tool, const std::string& localDatabaseFile) {
    if (localDatabaseFile.empty()) return 0;
    const std::string databaseFolder = GetFolderOfPath(localDatabaseFile);
    if (databaseFolder.empty()) return 0;

    const std::string backupFolder = InFolder(databaseFolder, kBackupFolderName);
    auto backupStatus = tool.files.Status(backupFolder);
    if (!backupStatus || !backupStatus->isDirectory) tool.files.MakeDirectory(backupFolder);

    const std::string dataFile = InFolder(databaseFolder, kDataFileName);
    bool haveFile = ExistsAsFile(tool, dataFile);

    int result = 0;
    std::unique_ptr<platform::IDbConnection> connection = tool.db.NewConnection();
    if (!connection) return 0;
    Guarded(tool, "SwitchSQLDBToLocal", [&] {
        if (!connection->Open(BuildSQLConnectString(tool, "MASTER", "localhost"))) return;

        int detached = 1;
        if (DatabaseExists(tool, connection.get(), kImagingDatabase) == 1) {
            std::string registeredData;
            std::string registeredLog;
            GetDBFilePath(tool, connection.get(), kImagingDatabase, registeredData, registeredLog);
            if (registeredData.empty() || ExistsAsFile(tool, registeredData)) {
                // A registration whose file is unknown is only detached: a drop would let the server delete it.
                detached = DetachDB(tool, connection.get(), kImagingDatabase);
                if (detached == 0) LogMessage(tool, kLogError, "Failed to DetatchDB %s", kImagingDatabase);
            } else if (DetachDB(tool, connection.get(), kImagingDatabase) == 0) {
                // The file looks gone. Detach first all the same: a server that can still open the file detaches
                // it, and one that cannot has it offline, where a drop deletes no file.
                LogMessage(tool, kLogNormal, "Force to drop DB=%s for no mdf file", kImagingDatabase);
                DropDB(tool, connection.get(), kImagingDatabase);
            }
            if (detached == 1 && HardDeleteFile(tool, registeredLog) == 0) {
                LogMessage(tool, kLogError, "Failed to HardDeleteFile %s", registeredLog.c_str());
                detached = 0;
            }
        }

        if (!haveFile) {
            if (ExistsAsFile(tool, localDatabaseFile)) {
                haveFile = true;  // the site's own file, never overwritten by the template
            } else {
                int code = HardCopyFile(tool, kEmptyDbTemplate, localDatabaseFile);
                if (code == 0) {
                    haveFile = true;
                } else {
                    LogMessage(tool, kLogError, "Failed to Copy empty mdf file %s to %s. Error=%d", kEmptyDbTemplate,
                               localDatabaseFile.c_str(), code);
                }
            }
        }

        if (detached == 1 && haveFile) {
            result = RestoreDB(tool, connection.get(), kImagingDatabase, localDatabaseFile, databaseFolder);
        }
        if (connection->IsOpen()) connection->Close();
    });
    if (connection->IsOpen()) connection->Close();
    return result;
}

}  // namespace enrolix
