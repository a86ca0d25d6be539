// The stand-in's configuration: servers, the InterBase service, drive roots, refused inserts, file locations.
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

struct ServerConfig {
    std::string name;  // host\instance, as written in the configuration
    std::string password;
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

struct Config {
    std::filesystem::path file;  // where it was read from
    std::vector<ServerConfig> servers;
    InterBaseConfig interbase;
    std::vector<RefusedInsert> refusedInserts;
    std::map<char, std::filesystem::path> driveRoots;  // lower-case drive letter
    std::filesystem::path stateFile;
    std::filesystem::path statementLog;

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
