#include "standin/core/Catalogue.h"

#include <fstream>
#include <stdexcept>

#include "standin/core/Config.h"
#include "standin/core/FileLock.h"
#include "standin/core/Ini.h"

namespace standin {
namespace {

namespace fs = std::filesystem;

Catalogue Parse(const fs::path& stateFile) {
    Catalogue catalogue;
    for (const Ini::Section& section : Ini::Load(stateFile).sections) {
        std::size_t at = section.name.find('@');
        if (at == std::string::npos) continue;
        DatabaseEntry entry;
        entry.name = section.name.substr(0, at);
        entry.server = section.name.substr(at + 1);
        entry.dataFile = section.Get("data");
        entry.logFile = section.Get("log");
        entry.id = std::atoi(section.Get("id", "0").c_str());
        entry.singleUser = EqualsNoCase(section.Get("single_user"), "yes");
        catalogue.entries.push_back(entry);
    }
    return catalogue;
}

void Write(const fs::path& stateFile, const Catalogue& catalogue) {
    Ini ini;
    for (const DatabaseEntry& entry : catalogue.entries) {
        Ini::Section& section = ini.FindOrAdd(entry.name + "@" + entry.server);
        section.Set("data", entry.dataFile);
        section.Set("log", entry.logFile);
        section.Set("id", std::to_string(entry.id));
        section.Set("single_user", entry.singleUser ? "yes" : "no");
    }
    fs::path temporary = stateFile;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << "# Databases served by the stand-in servers: [database@host\\instance]\n\n" << ini.Format();
        if (!out.flush()) throw std::runtime_error("cannot write the stand-in state file " + temporary.string());
    }
    fs::rename(temporary, stateFile);
}

bool SameServer(const std::string& a, const std::string& b) { return CanonicalServerName(a) == CanonicalServerName(b); }

}  // namespace

bool IsSystemDatabase(const std::string& name) {
    for (const char* system : {"master", "tempdb", "model", "msdb"})
        if (EqualsNoCase(name, system)) return true;
    return false;
}

Catalogue Catalogue::Read(const fs::path& stateFile) {
    FileLock lock(stateFile, false);
    return Parse(stateFile);
}

void Catalogue::Update(const fs::path& stateFile, const std::function<bool(Catalogue&)>& change) {
    FileLock lock(stateFile, true);
    Catalogue catalogue = Parse(stateFile);
    if (change(catalogue)) Write(stateFile, catalogue);
}

void Catalogue::Seed(const fs::path& stateFile, const std::vector<DatabaseEntry>& entries) {
    FileLock lock(stateFile, true);
    std::error_code error;
    if (fs::exists(stateFile, error)) return;
    Catalogue catalogue;
    for (const DatabaseEntry& entry : entries) catalogue.Add(entry);
    Write(stateFile, catalogue);
}

const DatabaseEntry* Catalogue::Find(const std::string& server, const std::string& name) const {
    for (const DatabaseEntry& entry : entries)
        if (SameServer(entry.server, server) && EqualsNoCase(entry.name, name)) return &entry;
    return nullptr;
}

void Catalogue::Add(DatabaseEntry entry) {
    int last = 4;
    for (const DatabaseEntry& other : entries)
        if (SameServer(other.server, entry.server) && other.id > last) last = other.id;
    entry.id = last + 1;
    entries.push_back(std::move(entry));
}

bool Catalogue::Remove(const std::string& server, const std::string& name) {
    return std::erase_if(entries, [&](const DatabaseEntry& e) {
               return SameServer(e.server, server) && EqualsNoCase(e.name, name);
           }) > 0;
}

std::vector<DatabaseEntry> Catalogue::OnServer(const std::string& server) const {
    std::vector<DatabaseEntry> found;
    for (const DatabaseEntry& entry : entries)
        if (SameServer(entry.server, server)) found.push_back(entry);
    return found;
}

}  // namespace standin
