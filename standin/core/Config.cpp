#include "Config.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "Ini.h"

namespace standin {
namespace {

namespace fs = std::filesystem;

bool ParseFlag(const std::string& value, const std::string& key) {
    std::string v = Lower(value);
    if (v == "up" || v == "yes" || v == "true" || v == "1" || v == "on") return true;
    if (v == "down" || v == "no" || v == "false" || v == "0" || v == "off") return false;
    throw std::runtime_error("stand-in configuration: " + key + " must be up or down, not \"" + value + "\"");
}

fs::path Resolve(const fs::path& folder, const std::string& value) {
    fs::path p(value);
    return p.is_absolute() ? p : folder / p;
}

}  // namespace

std::string CanonicalServerName(const std::string& name) {
    std::string lower = Lower(Trim(name));
    std::size_t slash = lower.find('\\');
    std::string host = lower.substr(0, slash);
    std::string instance = slash == std::string::npos ? "" : lower.substr(slash);
    if (host == "(local)" || host == "." || host == "127.0.0.1") host = "localhost";
    return host + instance;
}

const ServerConfig* Config::FindServer(const std::string& name) const {
    std::string wanted = CanonicalServerName(name);
    for (const ServerConfig& server : servers)
        if (CanonicalServerName(server.name) == wanted) return &server;
    return nullptr;
}

const RefusedInsert* Config::FindRefusedInsert(const std::string& table) const {
    for (const RefusedInsert& refused : refusedInserts)
        if (EqualsNoCase(refused.table, table)) return &refused;
    return nullptr;
}

fs::path ConfigLocation() {
    if (const char* named = std::getenv(kConfigVariable); named && *named) return fs::path(named);
    if (const char* sysini = std::getenv("ODBCSYSINI"); sysini && *sysini)
        return fs::path(sysini) / kConfigBesideOdbcinst;
    return {};
}

Config LoadConfig(const fs::path& file) {
    if (file.empty()) throw std::runtime_error(std::string("no stand-in configuration: set ") + kConfigVariable);
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        throw std::runtime_error("the stand-in configuration " + file.string() + " does not exist");
    Ini ini = Ini::Load(file);
    Config config;
    config.file = fs::absolute(file, error);
    fs::path folder = config.file.parent_path();
    config.stateFile = folder / "standin-state.ini";
    config.statementLog = folder / "statements.log";

    for (const Ini::Section& section : ini.sections) {
        std::string name = Lower(section.name);
        if (name.empty() || name == "standin") {
            for (const auto& [key, value] : section.entries) {
                std::string k = Lower(key);
                if (k == "state") {
                    config.stateFile = Resolve(folder, value);
                } else if (k == "statement_log") {
                    config.statementLog = value.empty() ? fs::path() : Resolve(folder, value);
                } else if (k.size() == 7 && k.starts_with("drive_") && std::isalpha(static_cast<unsigned char>(k[6]))) {
                    config.driveRoots[k[6]] = Resolve(folder, value);
                } else {
                    throw std::runtime_error("stand-in configuration: unknown key " + key);
                }
            }
        } else if (name.starts_with("server ")) {
            ServerConfig server;
            server.name = Trim(section.name.substr(7));
            server.password = section.Get("password", "plain");
            if (EqualsNoCase(server.password, "plain")) server.password = kPlainPassword;
            if (EqualsNoCase(server.password, "policy")) server.password = kPolicyPassword;
            for (const auto& [key, value] : section.entries) {
                std::string k = Lower(key);
                if (k.starts_with("database ")) {
                    SeedDatabase seed{Trim(key.substr(9)), value, {}};
                    std::size_t slash = value.find_last_of("\\/");
                    std::string folder = slash == std::string::npos ? std::string() : value.substr(0, slash + 1);
                    seed.logFile = folder + seed.name + "_Log.ldf";
                    server.databases.push_back(seed);
                } else if (!k.starts_with("log ") && k != "password" && k != "status" && k != "detach_timeout") {
                    throw std::runtime_error("stand-in configuration: unknown key " + key + " in [" + section.name +
                                             "]");
                }
            }
            for (const auto& [key, value] : section.entries) {
                if (!Lower(key).starts_with("log ")) continue;
                std::string db = Trim(key.substr(4));
                bool found = false;
                for (SeedDatabase& seed : server.databases)
                    if (EqualsNoCase(seed.name, db)) {
                        seed.logFile = value;
                        found = true;
                    }
                if (!found) throw std::runtime_error("stand-in configuration: " + key + " names no database line");
            }
            server.up = ParseFlag(section.Get("status", "up"), "status");
            std::string timeout = Lower(section.Get("detach_timeout", "never"));
            if (timeout == "never") {
                server.detachTimeout = DetachTimeout::kNever;
            } else if (timeout == "until_single_user") {
                server.detachTimeout = DetachTimeout::kUntilSingleUser;
            } else if (timeout == "always") {
                server.detachTimeout = DetachTimeout::kAlways;
            } else {
                throw std::runtime_error(
                    "stand-in configuration: detach_timeout must be never, until_single_user or "
                    "always, not \"" +
                    timeout + "\"");
            }
            config.servers.push_back(server);
        } else if (name == "interbase") {
            config.interbase.up = ParseFlag(section.Get("status", "up"), "status");
            config.interbase.user = section.Get("user", config.interbase.user);
            config.interbase.password = section.Get("password", config.interbase.password);
        } else if (name == "refuse_insert") {
            for (const auto& [table, message] : section.entries)
                config.refusedInserts.push_back(
                    {table, message.empty() ? "[Microsoft][ODBC SQL Server Driver][SQL Server]The INSERT permission "
                                              "was denied on the object '" +
                                                  table + "', database 'PATIENT', schema 'dbo'."
                                            : message});
        } else {
            throw std::runtime_error("stand-in configuration: unknown section [" + section.name + "]");
        }
    }
    return config;
}

}  // namespace standin
