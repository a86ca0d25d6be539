#include "enrolix/core/SiteConfig.h"

#include "enrolix/core/Text.h"
#include "platform/ConnectionString.h"

namespace enrolix {
namespace {

using platform::ConnectValue;

constexpr std::size_t kCurrentDirectoryBuffer = 260;
constexpr std::size_t kComputerNameBuffer = 64;
constexpr std::size_t kMachineNameBuffer = 64;
constexpr std::size_t kSiteSettingBuffer = 127;
constexpr std::size_t kPasswordBuffer = 128;
constexpr std::size_t kInstanceBuffer = 16;

}  // namespace

std::string GetSoftwareFolder(Tool& tool) {
    std::string current = tool.files.CurrentDirectory();
    if (current.size() > kCurrentDirectoryBuffer - 1) current.resize(kCurrentDirectoryBuffer - 1);
    auto bin = current.find("bin");
    return bin == std::string::npos ? current : current.substr(0, bin);
}

std::string TomoCfgPath(Tool& tool) { return GetSoftwareFolder(tool) + "\\bin\\TomoCfg.ini"; }

std::string LocalDatabaseFile(Tool& tool, bool sqlServer) {
    return GetSoftwareFolder(tool) + "db_repository\\" + (sqlServer ? "PATIENT.mdf" : "PATIENT.ib");
}

std::string ReadSiteSetting(Tool& tool, const std::string& section, const std::string& key) {
    return Trim(tool.profile.Read(TomoCfgPath(tool), section, key, "", kSiteSettingBuffer));
}

bool WriteSiteSetting(Tool& tool, const std::string& filePath, const std::string& section, const std::string& key,
                      const std::string& value) {
    return tool.profile.Write(filePath.empty() ? TomoCfgPath(tool) : filePath, section, key, value);
}

std::string GetLocalComputerName(Tool& tool) {
    if (tool.cache.computerName.empty()) tool.cache.computerName = Trim(tool.system.ComputerName(kComputerNameBuffer));
    return tool.cache.computerName;
}

std::string GetMachineName(Tool& tool) {
    if (tool.cache.machineName.empty()) {
        std::string name = Trim(tool.profile.Read(kSystemSetIni, "Machine", "MachineName", "", kMachineNameBuffer));
        tool.cache.machineName = name.empty() ? GetLocalComputerName(tool) : name;
    }
    return tool.cache.machineName;
}

int IsSQLServerDatabase(Tool& tool) {
    if (tool.cache.sqlServerFlag != -1) return tool.cache.sqlServerFlag;
    if (tool.cache.databaseKind.empty())
        tool.cache.databaseKind = ReadSiteSetting(tool, "System Parameters", "Database");
    tool.cache.sqlServerFlag = EqualsNoCase(tool.cache.databaseKind, kSqlServerDriver) ? 1 : 0;
    return tool.cache.sqlServerFlag;
}

std::string BuildSQLConnectString(Tool& tool, const std::string& databaseName, const std::string& server) {
    std::string password = tool.profile.Read(kSqlInstallIni, "Options", "SAPWD", kPlainPassword, kPasswordBuffer);
    std::string instance =
        tool.profile.Read(kSqlInstallIni, "Options", "INSTANCENAME", kDefaultInstance, kInstanceBuffer);
    return "Driver={" + std::string(kSqlServerDriver) + "};Server=" + ConnectValue(server + "\\" + instance) +
           ";Database=" + ConnectValue(databaseName) + ";Uid=sa;Pwd=" + ConnectValue(password) + ";";
}

std::string BuildIBConnectString(const std::string& server, const std::string& databaseFile) {
    return "ODBC;DRIVER={" + std::string(kInterBaseDriver) + "};SERVER=" + ConnectValue(server) +
           ";DATABASE=" + ConnectValue(databaseFile) + ";UID=SYSDBA;PWD=" + kPlainPassword + ";";
}

}  // namespace enrolix
