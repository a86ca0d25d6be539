// Opening the imaging database: central server or local database, password switch, fallback question.
#pragma once

#include <string>

#include "enrolix/core/SiteConfig.h"
#include "enrolix/core/Tool.h"

namespace enrolix {

// The server a run connects to first: the configured central server (SQL Server sites whose TomoCfg.ini names
// another machine), else the local one.
struct ServerChoice {
    std::string configuredServer;
    std::string server = kLocalServer;
    int local = 1;
    int sqlServer = 0;
};
ServerChoice ChooseServer(Tool& tool);

// Opens probeString on a temporary connection. A refused login ("Login failed") switches both strings to the
// other built-in password and tries once more; a switch that works is written to SqlInstall.ini.
// 1 when the probe string opened, else 0 (and both strings as they came in).
int ProbeConnection(Tool& tool, std::string& probeString, std::string& companionString);

// The data file the local server registers for the imaging database; empty when it cannot be asked.
std::string RegisteredDataFile(Tool& tool, const std::string& probeString);
// Whether the server reached by probeString has the imaging database.
bool ServerHasImagingDatabase(Tool& tool, const std::string& probeString);

// 1 with the connection open on the imaging database, else 0 with it closed.
int ConnectToDatabase(Tool& tool, platform::IDbConnection& connection);

}  // namespace enrolix
