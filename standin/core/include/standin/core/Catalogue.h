// The servers' catalogue of databases, kept in a state file so that it outlives each process.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace standin {

struct DatabaseEntry {
    std::string server;    // host\instance
    std::string name;      // database name
    std::string dataFile;  // physical names, Windows paths as attached
    std::string logFile;
    int id = 0;  // database_id; system databases take 1 to 4
    bool singleUser = false;
};

class Catalogue {
public:
    // Reads the state file under a shared lock; a missing file is an empty catalogue.
    static Catalogue Read(const std::filesystem::path& stateFile);
    // Reads under an exclusive lock, runs change, and writes the file back when change returns true.
    static void Update(const std::filesystem::path& stateFile, const std::function<bool(Catalogue&)>& change);
    // Writes the first catalogue when the state file does not exist yet; an existing file is left alone.
    static void Seed(const std::filesystem::path& stateFile, const std::vector<DatabaseEntry>& entries);

    const DatabaseEntry* Find(const std::string& server, const std::string& name) const;
    void Add(DatabaseEntry entry);  // assigns the next database_id of its server
    bool Remove(const std::string& server, const std::string& name);
    std::vector<DatabaseEntry> OnServer(const std::string& server) const;

    std::vector<DatabaseEntry> entries;
};

bool IsSystemDatabase(const std::string& name);

}  // namespace standin
