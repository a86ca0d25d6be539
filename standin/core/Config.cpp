#include "standin/core/Config.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "standin/core/Ini.h"

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

// "2", "2+" or "1,3+"; "every" or empty: every match.
std::vector<Fault::Occurrence> ParseOccurrences(const std::string& text, const std::string& section) {
    std::vector<Fault::Occurrence> list;
    if (text.empty() || EqualsNoCase(text, "every")) return list;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t comma = text.find(',', at);
        std::string item = Trim(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
        Fault::Occurrence occurrence;
        occurrence.andLater = !item.empty() && item.back() == '+';
        if (occurrence.andLater) item.pop_back();
        char* end = nullptr;
        occurrence.first = std::strtol(item.c_str(), &end, 10);
        if (item.empty() || *end != '\0' || occurrence.first < 1)
            throw std::runtime_error("stand-in configuration: occurrence in [" + section +
                                     "] must be every, N, N+ or a list of them, not \"" + text + "\"");
        list.push_back(occurrence);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    return list;
}

Fault ParseFault(const Ini::Section& section) {
    Fault fault;
    fault.name = Trim(section.name.substr(6));
    std::string statement = section.Get("statement"), open = section.Get("open");
    if (statement.empty() == open.empty())
        throw std::runtime_error("stand-in configuration: [" + section.name +
                                 "] needs either a statement or an open pattern");
    fault.target = statement.empty() ? Fault::Target::kOpen : Fault::Target::kStatement;
    fault.pattern = statement.empty() ? open : statement;
    fault.occurrences = ParseOccurrences(section.Get("occurrence"), section.name);
    const bool opens = fault.target == Fault::Target::kOpen;
    fault.state = section.Get("state", opens ? "08001" : "42000");
    if (fault.state.size() != 5)
        throw std::runtime_error("stand-in configuration: state in [" + section.name + "] must have 5 characters");
    fault.native = std::atoi(section.Get("native", opens ? "0" : "50000").c_str());
    fault.message = section.Get("message");
    for (const auto& [key, value] : section.entries) {
        std::string k = Lower(key);
        if (k != "statement" && k != "open" && k != "occurrence" && k != "message" && k != "state" && k != "native")
            throw std::runtime_error("stand-in configuration: unknown key " + key + " in [" + section.name + "]");
    }
    return fault;
}

}  // namespace

bool Fault::FailsAt(long match) const {
    if (occurrences.empty()) return true;
    for (const Occurrence& occurrence : occurrences)
        if (match == occurrence.first || (occurrence.andLater && match > occurrence.first)) return true;
    return false;
}

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
    config.connectionLog = folder / "connections.log";
    config.faultCounts = folder / "standin-faults.ini";

    for (const Ini::Section& section : ini.sections) {
        std::string name = Lower(section.name);
        if (name.empty() || name == "standin") {
            for (const auto& [key, value] : section.entries) {
                std::string k = Lower(key);
                if (k == "state") {
                    config.stateFile = Resolve(folder, value);
                } else if (k == "statement_log") {
                    config.statementLog = value.empty() ? fs::path() : Resolve(folder, value);
                } else if (k == "connection_log") {
                    config.connectionLog = value.empty() ? fs::path() : Resolve(folder, value);
                } else if (k == "fault_counts") {
                    config.faultCounts = Resolve(folder, value);
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
        } else if (name.starts_with("fault ")) {
            config.faults.push_back(ParseFault(section));
        } else {
            throw std::runtime_error("stand-in configuration: unknown section [" + section.name + "]");
        }
    }
    return config;
}

}  // namespace standin
