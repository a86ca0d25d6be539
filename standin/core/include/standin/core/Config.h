// The stand-in's configuration: servers, the InterBase service, drive roots, refused inserts, file locations.
//
// One INI file per test, found through ORVANTA_STANDIN_CONFIG, else as standin.ini in the ODBCSYSINI folder.
// Relative paths are taken from the file's own folder; every section and key is optional; comment lines start
// with # or ; (there are no comments after a value).
//
//   [standin]
//   state = standin-state.ini           the servers' catalogue between processes (default: beside this file)
//   statement_log = statements.log      every statement received is appended, after the database@server it
//                                       went to and a tab (default; empty value: no log)
//   connection_log = connections.log    every connection open is appended as one line of tab-separated fields:
//                                       the outcome ("ok", or "refused", the SQLSTATE and the first error text),
//                                       driver, server, database, user, and the connection string as received
//                                       with each PWD value written as *** (default; empty value: no record)
//   fault_counts = standin-faults.ini   how often each fault's pattern has matched, across processes
//                                       (default: beside this file)
//   drive_c = wine/drive_c              where C:\ lies (default: the drive of $WINEPREFIX, else ~/.wine)
//
//   [server localhost\SQLKOR]           one section per SQL Server, host\instance; (local), . and 127.0.0.1
//                                       mean localhost; servers not listed are unreachable
//   password = plain                    the "sa" password: plain (tumbleoak), policy (velvetoak#317) or a text
//   status = up                         up or down; down: every login fails, without "Login failed"
//   detach_timeout = never              never, until_single_user or always: sp_detach_db answers "Query timeout
//                                       expired" until the database was set single-user, or every time
//   database PATIENT = C:\SCANSUITE\db_repository\PATIENT.mdf
//                                       served while the state file does not exist yet
//   log PATIENT = C:\SCANSUITE\db_repository\PATIENT_Log.ldf
//                                       its log file (default: <name>_Log.ldf beside the data file)
//
//   [interbase]                         the "Gemini InterBase ODBC Driver 2.0": DATABASE= names the file
//   status = up                         down: every open fails
//   user = SYSDBA
//   password = tumbleoak
//
//   [refuse_insert]                     inserts into these tables fail with the value as error text
//   Patient =                           (empty: SQL Server's permission error)
//
//   [fault NAME]                        a programmed failure; any number of them, each with a name of its own
//   statement = drop database *         fails the statements that match this pattern: "*" stands for any run of
//                                       characters, "?" for one, letters match in either case, and the pattern
//                                       covers the whole text; or
//   open = *Database=PATIENT;*          fails the opens whose connection string (PWD values as ***) matches
//   occurrence = 2                      which of the matches fail, counted from the first match of this fault in
//                                       any process: a number, N+ for the Nth and every later one, or a list such
//                                       as 1,3+ (default: every one)
//   message = text                      the error text; the driver's prefix ([Microsoft][ODBC SQL Server
//                                       Driver][SQL Server] or the InterBase one) is added unless it starts with
//                                       "[" (default: "Fault NAME programmed by the test.")
//   state = 42000                       the SQLSTATE (default: 42000 for statements, 08001 for opens)
//   native = 50000                      the native error number (default: 50000 for statements, 0 for opens)
//
// Text is compared in the Windows-1252 code page as SQL Server's default collation does it: UPPER(), LOWER(),
// LIKE and every case-insensitive comparison (the schema's COLLATE NOCASE columns) fold accented letters too.
//
// Each database is an SQLite file at its physical path. The state file holds one section [name@host\instance]
// per database with the keys data, log, id and single_user; attach, detach, drop and single-user rewrite it.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace standin {

inline constexpr const char* kConfigVariable = "ORVANTA_STANDIN_CONFIG";
inline constexpr const char* kConfigBesideOdbcinst = "standin.ini";

enum class DetachTimeout { kNever, kUntilSingleUser, kAlways };

inline constexpr const char* kPlainPassword = "tumbleoak";
inline constexpr const char* kPolicyPassword = "velvetoak#317";

struct SeedDatabase {
    std::string name;
    std::string dataFile;  // Windows path
    std::string logFile;
};

struct ServerConfig {
    std::string name;  // host\instance, as written in the configuration
    std::string password;
    std::vector<SeedDatabase> databases;  // served while no state file exists
    bool up = true;
    DetachTimeout detachTimeout = DetachTimeout::kNever;
};

struct InterBaseConfig {
    bool up = true;
    std::string user = "SYSDBA";
    std::string password = "tumbleoak";
};

struct RefusedInsert {
    std::string table;
    std::string message;  // full diagnostic text
};

struct Fault {
    enum class Target { kStatement, kOpen };
    struct Occurrence {
        long first = 1;
        bool andLater = false;
    };
    std::string name;
    Target target = Target::kStatement;
    std::string pattern;
    std::vector<Occurrence> occurrences;  // empty: every match
    std::string state;
    int native = 0;
    std::string message;  // as configured; empty: the default text

    bool FailsAt(long match) const;
};

struct Config {
    std::filesystem::path file;  // where it was read from
    std::vector<ServerConfig> servers;
    InterBaseConfig interbase;
    std::vector<RefusedInsert> refusedInserts;
    std::map<char, std::filesystem::path> driveRoots;  // lower-case drive letter
    std::filesystem::path stateFile;
    std::filesystem::path statementLog;
    std::filesystem::path connectionLog;
    std::filesystem::path faultCounts;
    std::vector<Fault> faults;

    // "localhost", "(local)", "." and "127.0.0.1" name the same host.
    const ServerConfig* FindServer(const std::string& name) const;
    const RefusedInsert* FindRefusedInsert(const std::string& table) const;
};

// Server names compared the way the stand-in finds them: case-insensitive, host aliases of this machine folded.
std::string CanonicalServerName(const std::string& name);

// The file named by ORVANTA_STANDIN_CONFIG, else standin.ini in the ODBCSYSINI folder; empty when neither is set.
std::filesystem::path ConfigLocation();

// Throws std::runtime_error when the file is missing or a value is not understood.
Config LoadConfig(const std::filesystem::path& file);

}  // namespace standin
