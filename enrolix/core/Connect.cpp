#include "enrolix/core/Connect.h"

#include <optional>

#include "enrolix/core/Log.h"
#include "enrolix/core/Maintenance.h"
#include "enrolix/core/SiteConfig.h"
#include "enrolix/core/Text.h"
#include "platform/ConnectionString.h"

namespace enrolix {
namespace {

constexpr const char* kOperation = "ConnectToDatabase";
constexpr const char* kCaption = "Database connection error";

bool TryOpen(platform::IDbConnection& connection, const std::string& connectString) {
    try {
        return connection.Open(connectString);
    } catch (...) {
        return false;
    }
}

// Replaces every from in the Pwd value of a connection string by to; false when the value holds no from.
bool SwitchPasswordValue(std::string& text, std::string_view from, std::string_view to) {
    std::optional<platform::ConnectField> field = platform::FindConnectField(text, "Pwd");
    if (!field || field->value.find(from) == std::string::npos) return false;
    ReplaceAll(field->value, from, to);
    text.replace(field->begin, field->end - field->begin, platform::ConnectValue(field->value));
    return true;
}

// Switches both strings to the other built-in password; false when the probe's password holds neither.
bool SwitchPassword(std::string& probe, std::string& companion, bool& toPlain) {
    for (bool plain : {true, false}) {
        const char* from = plain ? kPolicyPassword : kPlainPassword;
        const char* to = plain ? kPlainPassword : kPolicyPassword;
        if (SwitchPasswordValue(probe, from, to)) {
            SwitchPasswordValue(companion, from, to);
            toPlain = plain;
            return true;
        }
    }
    return false;
}

void RecordPassword(Tool& tool, bool toPlain) {
    ClearReadOnly(tool, kSqlInstallIni);
    WriteSiteSetting(tool, kSqlInstallIni, "Options", "SAPWD", toPlain ? kPlainPassword : kPolicyPassword);
    MakeFileReadOnly(tool, kSqlInstallIni);
    WriteLogFile(tool, kLogNormal,
                 toPlain ? "Switch enforce password to password" : "Switch password to enforce password", kLogFile,
                 kLogLimit, 0);
}

struct CloseOnExit {
    platform::IDbConnection& connection;
    ~CloseOnExit() {
        try {
            if (connection.IsOpen()) connection.Close();
        } catch (...) {
        }
    }
};

}  // namespace

// The data file the local server registers for the imaging database; empty when it cannot be asked.
std::string RegisteredDataFile(Tool& tool, const std::string& probeString) {
    std::string dataFile;
    bool asked = Guarded(tool, kOperation, [&] {
        auto server = tool.db.NewConnection();
        CloseOnExit closer{*server};
        if (server->Open(probeString)) {
            std::string logFile;
            GetDBFilePath(tool, server.get(), kImagingDatabaseName, dataFile, logFile);
        }
    });
    return asked ? dataFile : std::string();
}

bool ServerHasImagingDatabase(Tool& tool, const std::string& probeString) {
    bool exists = false;
    Guarded(tool, kOperation, [&] {
        auto server = tool.db.NewConnection();
        CloseOnExit closer{*server};
        exists = server->Open(probeString) && DatabaseExists(tool, server.get(), kImagingDatabaseName) == 1;
    });
    return exists;
}

ServerChoice ChooseServer(Tool& tool) {
    ServerChoice choice;
    choice.configuredServer = ReadSiteSetting(tool, "Server Connection", "Server");
    const std::string machineName = GetMachineName(tool);
    choice.sqlServer = IsSQLServerDatabase(tool);
    if (choice.sqlServer == 1 && !choice.configuredServer.empty() &&
        !EqualsIgnoringCase(tool, choice.configuredServer, machineName)) {
        choice.server = choice.configuredServer;
        choice.local = 0;
    }
    return choice;
}

int ProbeConnection(Tool& tool, std::string& probeString, std::string& companionString) {
    auto probe = tool.db.NewConnection();
    CloseOnExit closer{*probe};
    try {
        if (probe->Open(probeString)) return 1;
        return 0;
    } catch (const platform::DbError& e) {
        std::string text = std::string(e.what()).substr(0, 1023);
        if (text.find("Login failed") == std::string::npos) return 0;
    } catch (...) {
        return 0;
    }

    const std::string probeBefore = probeString;
    const std::string companionBefore = companionString;
    bool toPlain = false;
    if (!SwitchPassword(probeString, companionString, toPlain)) return 0;
    if (TryOpen(*probe, probeString)) {
        RecordPassword(tool, toPlain);
        return 1;
    }
    probeString = probeBefore;
    companionString = companionBefore;
    return 0;
}

int ConnectToDatabase(Tool& tool, platform::IDbConnection& connection) {
    const ServerChoice choice = ChooseServer(tool);
    const std::string& configuredServer = choice.configuredServer;
    std::string server = choice.server;
    int local = choice.local;
    const int sqlServer = choice.sqlServer;
    const std::string localFile = LocalDatabaseFile(tool, sqlServer == 1);

    int fellBack = 0;
    for (int pass = 0; pass < 2; ++pass) {
        std::string databaseString;
        std::string probeString;
        bool ready = false;
        if (sqlServer == 1) {
            databaseString = BuildSQLConnectString(tool, kImagingDatabaseName, server);
            probeString = BuildSQLConnectString(tool, kServerDatabase, server);
            int probe = ProbeConnection(tool, probeString, databaseString);
            if (probe == 0) WriteLogFile(tool, kLogError, "Database Login Failed", kLogFile, kLogLimit, 0);
            if (local == 1 && probe == 1) {
                std::string dataFile = RegisteredDataFile(tool, probeString);
                if (!EqualsIgnoringCase(tool, dataFile, localFile) || !ExistsAsFile(tool, localFile))
                    probe = SwitchSQLDBToLocal(tool, localFile);
            }
            ready = probe == 1 && ServerHasImagingDatabase(tool, probeString) && ExistsAsFile(tool, localFile);
        } else {
            // An InterBase database is opened directly from its file; there is no server level to probe.
            databaseString = BuildIBConnectString(server, localFile);
            ready = ExistsAsFile(tool, localFile);
        }

        if (ready) {
            int result = 0;
            Guarded(tool, kOperation, [&] {
                result = connection.Open(databaseString) ? 1 : 0;
                if (result == 1) {
                    if (local == 1) {
                        if (fellBack == 0) WriteSiteSetting(tool, "", "Server Connection", "Server", "");
                        WriteSiteSetting(tool, kSystemSetIni, "Machine", "Database", localFile);
                    }
                    WriteSiteSetting(tool, kSystemSetIni, "Machine", "Home", GetSoftwareFolder(tool));
                }
            });
            if (result == 1) return 1;
        }

        if (local == 1) break;
        platform::MsgStyle question{platform::MsgButtons::YesNo, platform::MsgIcon::None, true, true};
        std::string text = "Fail to connect database on server \"" + configuredServer +
                           "\", do you want to use the local database and continue to work?";
        if (tool.boxes.Show(text, kCaption, question) != platform::MsgAnswer::Yes) return 0;
        fellBack = 1;
        local = 1;
        server = kLocalServer;
    }

    if (connection.IsOpen()) connection.Close();
    tool.boxes.Show("Local database connection failed.  Software will exit now.", kCaption,
                    platform::MsgStyle{platform::MsgButtons::Ok, platform::MsgIcon::None, true, true});
    return 0;
}

}  // namespace enrolix
