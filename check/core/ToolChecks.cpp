// The registration tool's site files, ODBC driver, database and log, as Enrolix.exe reads and connects.
#include <algorithm>

#include "check/core/SiteChecks.h"
#include "enrolix/core/Connect.h"
#include "enrolix/core/Log.h"
#include "enrolix/core/Maintenance.h"
#include "enrolix/core/Registration.h"
#include "enrolix/core/SiteConfig.h"
#include "platform/ConnectionString.h"

namespace orvanta::check {

namespace {

using enrolix::Tool;

// The tables that registration reads and writes.
constexpr const char* kTables[] = {"Patient", "VISIT", "PATIENTVISIT", "SYSMACHINES"};

std::string PasswordName(const std::string& connectString) {
    auto field = platform::FindConnectField(connectString, "Pwd");
    std::string password = field ? field->value : std::string();
    if (password == enrolix::kPlainPassword) return "the plain built-in password";
    if (password == enrolix::kPolicyPassword) return "the policy built-in password";
    return "a password of its own";
}

void CheckSiteFiles(Site& site, CheckReport& report, const enrolix::ServerChoice& choice) {
    Tool& tool = site.tool;
    const std::string machine = enrolix::GetMachineName(tool);
    if (IsFile(site, enrolix::kSystemSetIni))
        report.Add(kToolArea, "SystemSet.ini", State::Ok,
                   std::string(enrolix::kSystemSetIni) + ", this machine's name for the database: " + machine);
    else
        report.Add(kToolArea, "SystemSet.ini", State::Warn, std::string(enrolix::kSystemSetIni) + " not found",
                   "Repair the imaging software's installation; until then the computer name " + machine +
                       " names this machine.");

    const std::string tomoCfg = enrolix::TomoCfgPath(tool);
    const std::string kind = choice.sqlServer == 1 ? "SQL Server" : "InterBase";
    std::string selects =
        kind + ", " +
        (choice.local == 1 ? std::string("the local database") : "the central server " + choice.configuredServer);
    if (IsFile(site, tomoCfg))
        report.Add(kToolArea, "TomoCfg.ini", State::Ok, tomoCfg + ": " + selects);
    else
        report.Add(kToolArea, "TomoCfg.ini", State::Warn, tomoCfg + " not found: " + selects,
                   "Repair the imaging software's installation in " + enrolix::GetSoftwareFolder(tool) + ".");

    if (choice.sqlServer != 1) return;
    const std::string probe = enrolix::BuildSQLConnectString(tool, enrolix::kServerDatabase, choice.server);
    auto server = platform::FindConnectField(probe, "Server");
    const std::string found = "server " + (server ? server->value : std::string()) + ", " + PasswordName(probe);
    if (IsFile(site, enrolix::kSqlInstallIni))
        report.Add(kToolArea, "SqlInstall.ini", State::Ok, std::string(enrolix::kSqlInstallIni) + ": " + found);
    else
        report.Add(kToolArea, "SqlInstall.ini", State::Warn,
                   std::string(enrolix::kSqlInstallIni) + " not found: " + found,
                   "Repair the imaging software's database installation; the tool uses the default instance "
                   "and password.");
}

void CheckDriver(Site& site, CheckReport& report, const std::string& driver) {
    auto drivers = site.probe.OdbcDrivers();
    const std::string found = "\"" + driver + "\" (" + site.probe.Architecture() + ")";
    if (std::find(drivers.begin(), drivers.end(), driver) != drivers.end())
        report.Add(kToolArea, "ODBC driver", State::Ok, found);
    else
        report.Add(kToolArea, "ODBC driver", State::Fail, found + " not installed",
                   "Install the " + site.probe.Architecture() + " ODBC driver \"" + driver +
                       "\": Enrolix.exe of this architecture cannot connect without it.");
}

// The tables and this machine's SYSMACHINES row, over an open connection to the imaging database.
void CheckDatabaseContent(Site& site, CheckReport& report, platform::IDbConnection& connection) {
    std::string missing;
    for (const char* table : kTables) {
        try {
            connection.QueryFirstColumn(std::string("SELECT count(*) FROM ") + table);
        } catch (const platform::DbError&) {
            missing += missing.empty() ? table : std::string(", ") + table;
        }
    }
    if (missing.empty())
        report.Add(kToolArea, "Tables", State::Ok, "Patient, VISIT, PATIENTVISIT and SYSMACHINES present");
    else
        report.Add(kToolArea, "Tables", State::Fail, "missing: " + missing,
                   "Restore the imaging database from the imaging software's installation; registration needs "
                   "these tables.");

    const std::string machine = enrolix::GetMachineName(site.tool);
    bool fallback = false;
    const std::string id = enrolix::FindMachineId(site.tool, connection, machine, &fallback);
    if (id.empty())
        report.Add(kToolArea, "SYSMACHINES", State::Fail, "no row for " + machine + " and no row without a name",
                   "Add this machine's row to SYSMACHINES (SYS_NAME " + machine +
                       "); until then every patient is written with an empty machine identifier.");
    else if (fallback)
        report.Add(kToolArea, "SYSMACHINES", State::Warn,
                   "no row for " + machine + "; the row without a name gives " + id,
                   "Add this machine's row to SYSMACHINES (SYS_NAME " + machine + ") with its own identifier.");
    else
        report.Add(kToolArea, "SYSMACHINES", State::Ok, machine + " is " + id);
}

void OpenAndCheck(Site& site, CheckReport& report, const std::string& databaseString, const std::string& where) {
    auto connection = site.tool.db.NewConnection();
    std::string error;
    bool opened = false;
    try {
        opened = connection->Open(databaseString);
    } catch (const platform::DbError& e) {
        error = e.what();
    }
    if (!opened) {
        report.Add(kToolArea, "Imaging database", State::Fail,
                   where + " does not open" + (error.empty() ? std::string() : ": " + error),
                   "Make the imaging database available as the imaging software's installation describes.");
        return;
    }
    report.Add(kToolArea, "Imaging database", State::Ok, where + " opens");
    CheckDatabaseContent(site, report, *connection);
    connection->Close();
}

void CheckSqlServer(Site& site, CheckReport& report, const enrolix::ServerChoice& choice) {
    Tool& tool = site.tool;
    std::string database = enrolix::BuildSQLConnectString(tool, enrolix::kImagingDatabaseName, choice.server);
    std::string probe = enrolix::BuildSQLConnectString(tool, enrolix::kServerDatabase, choice.server);
    const std::string configured = probe;
    auto serverField = platform::FindConnectField(probe, "Server");
    const std::string server = serverField ? serverField->value : choice.server;
    if (enrolix::ProbeConnection(tool, probe, database) != 1) {
        report.Add(kToolArea, "Database server", State::Fail,
                   server + " refuses both built-in passwords or cannot be reached",
                   choice.local == 1
                       ? "Start the local SQL Server instance and check its sa login; registration fails until then."
                       : "Check the central server and its sa login; until then the tool asks to use the local "
                         "database.");
        return;
    }
    if (probe != configured)
        report.Add(kToolArea, "Database server", State::Warn,
                   server + " accepts only " + PasswordName(probe) + ", not the one in SqlInstall.ini",
                   "Nothing to do by hand: the next registration switches SAPWD in SqlInstall.ini.");
    else
        report.Add(kToolArea, "Database server", State::Ok, server + " accepts " + PasswordName(probe));

    const std::string localFile = enrolix::LocalDatabaseFile(tool, true);
    const bool localExists = enrolix::ExistsAsFile(tool, localFile);
    if (choice.local == 1) {
        const std::string served = enrolix::RegisteredDataFile(tool, probe);
        if (!enrolix::EqualsIgnoringCase(tool, served, localFile) || !localExists) {
            report.Add(kToolArea, "Database file", State::Warn,
                       "the server serves " + (served.empty() ? std::string("no PATIENT database") : served) +
                           ", not " + localFile + (localExists ? "" : " (missing)"),
                       "Nothing to do by hand: the next registration re-attaches " + localFile +
                           (localExists ? "." : " from the empty template."));
            return;  // the database the tool will use is not served yet
        }
        report.Add(kToolArea, "Database file", State::Ok, localFile);
    } else if (!localExists) {
        report.Add(kToolArea, "Database file", State::Fail, localFile + " missing on this workstation",
                   "Restore " + localFile + ": the tool does not use the central server without it.");
        return;
    }
    if (!enrolix::ServerHasImagingDatabase(tool, probe)) {
        report.Add(kToolArea, "Imaging database", State::Fail, server + " has no PATIENT database",
                   "Attach the imaging database to " + server + ".");
        return;
    }
    OpenAndCheck(site, report, database, "PATIENT on " + server);
}

void CheckInterBase(Site& site, CheckReport& report, const enrolix::ServerChoice& choice) {
    const std::string localFile = enrolix::LocalDatabaseFile(site.tool, false);
    if (!enrolix::ExistsAsFile(site.tool, localFile)) {
        report.Add(kToolArea, "Database file", State::Fail, localFile + " missing",
                   "Restore the InterBase database file " + localFile + ".");
        return;
    }
    report.Add(kToolArea, "Database file", State::Ok, localFile);
    OpenAndCheck(site, report, enrolix::BuildIBConnectString(choice.server, localFile), localFile);
}

}  // namespace

void CheckRegistrationTool(Site& site, CheckReport& report) {
    const enrolix::ServerChoice choice = enrolix::ChooseServer(site.tool);
    CheckSiteFiles(site, report, choice);
    CheckDriver(site, report, choice.sqlServer == 1 ? enrolix::kSqlServerDriver : enrolix::kInterBaseDriver);
    if (choice.sqlServer == 1)
        CheckSqlServer(site, report, choice);
    else
        CheckInterBase(site, report, choice);

    const std::string log = std::string(enrolix::kLogFolder) + "\\" + enrolix::kLogFile;
    if (!IsFolder(site, enrolix::kLogFolder) && IsFolder(site, enrolix::GetFolderOfPath(enrolix::kLogFolder)) &&
        site.probe.CanAddFiles(enrolix::GetFolderOfPath(enrolix::kLogFolder)))
        report.Add(kToolArea, "Log", State::Ok, std::string(enrolix::kLogFolder) + " created by the first run");
    else
        CheckWritableFile(site, report, kToolArea, "Log", log,
                          "Let the clinic's users write " + log + ": the tool records every run there.");
}

}  // namespace orvanta::check
