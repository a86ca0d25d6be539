// The server-level catalogue of a fake SQL Server: registered databases and their physical files.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Database.h"
#include "platform/fake/MemoryFileSystem.h"

namespace enrolix::test {

class FakeCatalog {
public:
    struct Database {
        std::string dataFile;  // physical paths as the server reports them
        std::string logFile;
        bool singleUser = false;
    };

    explicit FakeCatalog(platform::fake::MemoryFileSystem& files) : files_(files) {}

    // True when sql is a server-level query or statement this catalogue answers.
    bool Handles(const std::string& sql) const;
    // Answers a catalogue query; throws platform::DbError on a refused one.
    std::vector<std::string> Query(const std::string& sql);
    // Runs a catalogue statement; throws platform::DbError when the server refuses it.
    void Execute(const std::string& sql);

    std::map<std::string, Database> databases;  // by name as registered
    int detachTimeouts = 0;                     // the next this many detaches fail with a query time-out
    std::set<std::string> refusedWords;         // a statement containing one of these is refused
    std::vector<std::string> statements;        // every query and statement received, in order

private:
    std::map<std::string, Database>::iterator Lookup(const std::string& name);  // names compare without case
    void CheckRefused(const std::string& sql) const;

    platform::fake::MemoryFileSystem& files_;
};

}  // namespace enrolix::test
