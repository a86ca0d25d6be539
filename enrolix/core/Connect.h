// Opening the imaging database: central server or local database, password switch, fallback question.
#pragma once

#include <string>

#include "Tool.h"

namespace enrolix {

// Opens probeString on a temporary connection. A refused login ("Login failed") switches both strings to the
// other built-in password and tries once more; a switch that works is written to SqlInstall.ini.
// 1 when the probe string opened, else 0 (and both strings as they came in).
int ProbeConnection(Tool& tool, std::string& probeString, std::string& companionString);

// 1 with the connection open on the imaging database, else 0 with it closed.
int ConnectToDatabase(Tool& tool, platform::IDbConnection& connection);

}  // namespace enrolix
