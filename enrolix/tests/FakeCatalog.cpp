#include "enrolix/testing/FakeCatalog.h"

#include <regex>

#include "enrolix/core/Text.h"

namespace enrolix::test {

namespace {

using platform::DbError;
using platform::fake::MemoryFileSystem;

const std::string kLiteral = "N'((?:[^']|'')*)'";

const std::regex kCountQuery("SELECT count\\(\\*\\) FROM sys\\.databases WHERE name = " + kLiteral);
const std::regex kFilesQuery(
    "SELECT physical_name FROM master\\.sys\\.master_files WHERE database_id in \\(SELECT dbid from "
    "master\\.sys\\.sysdatabases where name = " +
    kLiteral + "\\)");
const std::regex kSingleUser("alter database (\\S+) set single_user with rollback immediate");
const std::regex kMultiUser("alter database (\\S+) set multi_user");
const std::regex kDetach("sp_detach_db @dbname = '((?:[^']|'')*)', @skipchecks = true");
const std::regex kDrop("drop database (\\S+)");
const std::regex kAttach("CREATE DATABASE (\\S+) ON \\(FILENAME = " + kLiteral + "\\) FOR ATTACH_REBUILD_LOG");

std::string Unquoted(const std::string& literal) {
    std::string value = literal;
    ReplaceAll(value, "''", "'");
    return value;
}

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

[[noreturn]] void Refuse(const std::string& text) {
    throw DbError("[Microsoft][ODBC SQL Server Driver][SQL Server]" + text);
}

}  // namespace

bool FakeCatalog::Handles(const std::string& sql) const {
    for (const std::regex* form : {&kCountQuery, &kFilesQuery, &kSingleUser, &kMultiUser, &kDetach, &kDrop, &kAttach})
        if (std::regex_match(sql, *form)) return true;
    return false;
}

std::map<std::string, FakeCatalog::Database>::iterator FakeCatalog::Lookup(const std::string& name) {
    for (auto it = databases.begin(); it != databases.end(); ++it)
        if (EqualsNoCase(it->first, name)) return it;
    return databases.end();
}

void FakeCatalog::CheckRefused(const std::string& sql) const {
    for (const auto& word : refusedWords)
        if (sql.find(word) != std::string::npos) Refuse("The statement was refused: " + word);
}

std::vector<std::string> FakeCatalog::Query(const std::string& sql) {
    statements.push_back(sql);
    CheckRefused(sql);
    std::smatch match;
    if (std::regex_match(sql, match, kCountQuery)) {
        return {Lookup(Unquoted(match[1])) == databases.end() ? "0" : "1"};
    }
    if (std::regex_match(sql, match, kFilesQuery)) {
        auto it = Lookup(Unquoted(match[1]));
        if (it == databases.end()) return {};
        std::vector<std::string> rows;
        if (!it->second.dataFile.empty()) rows.push_back(it->second.dataFile);
        if (!it->second.logFile.empty()) rows.push_back(it->second.logFile);
        return rows;
    }
    Refuse("Incorrect syntax near '" + sql.substr(0, 20) + "'.");
}

void FakeCatalog::Execute(const std::string& sql) {
    statements.push_back(sql);
    CheckRefused(sql);
    std::smatch match;
    auto registered = [&](const std::string& name) {
        auto it = Lookup(name);
        if (it == databases.end()) Refuse("Database '" + name + "' does not exist.");
        return it;
    };
    if (std::regex_match(sql, match, kSingleUser)) {
        registered(match[1])->second.singleUser = true;
    } else if (std::regex_match(sql, match, kMultiUser)) {
        registered(match[1])->second.singleUser = false;
    } else if (std::regex_match(sql, match, kDetach)) {
        if (detachTimeouts > 0) {
            --detachTimeouts;
            throw DbError("[Microsoft][ODBC SQL Server Driver]Query timeout expired");
        }
        auto it = registered(Unquoted(match[1]));
        if (!files_.HasFile(it->second.dataFile))
            Refuse("Unable to open the physical file \"" + it->second.dataFile + "\".");
        databases.erase(it);  // the files stay on disk
    } else if (std::regex_match(sql, match, kDrop)) {
        auto it = registered(match[1]);
        // An online database takes its files with it; one whose data file is gone is offline and keeps them.
        if (files_.HasFile(it->second.dataFile)) {
            files_.Forget(it->second.dataFile);
            files_.Forget(it->second.logFile);
        }
        databases.erase(it);
    } else if (std::regex_match(sql, match, kAttach)) {
        const std::string name = match[1];
        const std::string dataFile = Unquoted(match[2]);
        if (Lookup(name) != databases.end()) Refuse("Database '" + name + "' already exists.");
        const auto* file = files_.Find(dataFile);
        if (!file) Refuse("Unable to open the physical file \"" + dataFile + "\".");
        if (file->readOnly) Refuse("The file \"" + dataFile + "\" is read-only.");
        for (const auto& [other, database] : databases)
            if (MemoryFileSystem::Key(database.dataFile) == MemoryFileSystem::Key(dataFile))
                Refuse("The file \"" + dataFile + "\" is in use by database '" + other + "'.");
        const std::string logFile = FolderOf(dataFile) + "\\" + name + "_log.ldf";
        if (files_.HasFile(logFile)) Refuse("The log file \"" + logFile + "\" already exists.");
        files_.AddFile(logFile, "rebuilt log");
        databases[name] = Database{dataFile, logFile, false};
    } else {
        Refuse("Incorrect syntax near '" + sql.substr(0, 20) + "'.");
    }
}

}  // namespace enrolix::test
