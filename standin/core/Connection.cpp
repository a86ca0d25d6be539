#include "standin/core/Connection.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <fstream>

#include "platform/ConnectionString.h"
#include "standin/core/AnsiText.h"
#include "standin/core/Catalogue.h"
#include "standin/core/Faults.h"
#include "standin/core/Ini.h"
#include "standin/core/Sql.h"
#include "standin/core/WindowsPath.h"

namespace standin {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSqlServerPrefix = "[Microsoft][ODBC SQL Server Driver][SQL Server]";
constexpr const char* kNetworkPrefix = "[Microsoft][ODBC SQL Server Driver][DBNETLIB]";
constexpr const char* kInterBasePrefix = "[Gemini][InterBase ODBC Driver][InterBase]";
constexpr const char* kSystemFolder = "C:\\Program Files\\Microsoft SQL Server\\MSSQL\\DATA\\";

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Get(const std::map<std::string, std::string>& keys, const char* key) {
    auto it = keys.find(key);
    return it == keys.end() ? std::string() : it->second;
}

// Owns a prepared statement.
struct Statement {
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
};

bool ExistsAsFile(const std::optional<fs::path>& path) {
    std::error_code error;
    return path && fs::is_regular_file(*path, error);
}

// Writable as Windows sees it: the read-only attribute maps to the missing owner write bit, also for root.
bool Writable(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) && ::access(path.c_str(), W_OK) == 0;
}

std::string FolderOf(const std::string& windowsPath) {
    std::size_t slash = windowsPath.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : windowsPath.substr(0, slash + 1);
}

// Appends the fields as one line, separated by tabs; line breaks and tabs inside them become blanks.
void AppendLine(const fs::path& file, std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& field : fields) {
        if (!line.empty()) line += '\t';
        for (char c : field) line += (c == '\n' || c == '\r' || c == '\t') ? ' ' : c;
    }
    line += '\n';
    int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return;
    ssize_t written = ::write(fd, line.data(), line.size());
    (void)written;
    ::close(fd);
}

// A readable SQLite file: the header and the schema can be read.
bool IsDatabaseFile(const fs::path& path) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

}  // namespace

Failure::Failure(std::vector<Diagnostic> list)
    : std::runtime_error(list.empty() ? std::string("failure") : list.front().message), records(std::move(list)) {}

std::map<std::string, std::string> ParseConnectString(const std::string& text) {
    std::map<std::string, std::string> keys;
    for (platform::ConnectField& field : platform::ConnectFields(text))
        if (!field.key.empty()) keys.try_emplace(Upper(std::move(field.key)), std::move(field.value));
    return keys;
}

std::string MaskPassword(const std::string& text) {
    std::string masked = text;
    std::vector<platform::ConnectField> fields = platform::ConnectFields(text);
    for (auto field = fields.rbegin(); field != fields.rend(); ++field)
        if (EqualsNoCase(field->key, "PWD")) masked.replace(field->begin, field->end - field->begin, "***");
    return masked;
}

std::unique_ptr<Connection> Connection::Open(const std::string& connectString) {
    std::unique_ptr<Connection> connection(new Connection());
    std::map<std::string, std::string> keys = ParseConnectString(connectString);
    std::string driver = Lower(Get(keys, "DRIVER"));
    connection->kind_ = driver.find("interbase") != std::string::npos ? Kind::kInterBase : Kind::kSqlServer;
    try {
        connection->config_ = LoadConfig(ConfigLocation());
    } catch (const std::exception& e) {
        connection->Refuse("08001", 0, e.what());
    }
    const std::string masked = MaskPassword(connectString);
    try {
        if (const Fault* fault = MatchFault(connection->config_, Fault::Target::kOpen, masked))
            connection->Fail(*fault);
        if (connection->kind_ == Kind::kInterBase) {
            connection->OpenInterBase(keys);
        } else {
            connection->OpenSqlServer(keys);
        }
    } catch (const Failure& failure) {
        const Diagnostic& first = failure.records.front();
        connection->RecordOpen(keys, masked, "refused " + first.state + " " + first.message);
        throw;
    }
    connection->RecordOpen(keys, masked, "ok");
    return connection;
}

Connection::~Connection() { sqlite3_close(db_); }

std::string Connection::Prefix() const { return kind_ == Kind::kInterBase ? kInterBasePrefix : kSqlServerPrefix; }

void Connection::Refuse(const std::string& state, int native, const std::string& message) const {
    throw Failure({{state, native, Prefix() + message}});
}

void Connection::OpenFile(const std::string& path, bool allowMissing) {
    int flags = SQLITE_OPEN_READWRITE | (allowMissing ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK ||
        sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw std::runtime_error("unreadable");
    }
    sqlite3_busy_timeout(db_, 10000);
    UseAnsiCase(db_);
}

void Connection::OpenSqlServer(const std::map<std::string, std::string>& keys) {
    server_ = Get(keys, "SERVER");
    user_ = Get(keys, "UID");
    serverConfig_ = config_.FindServer(server_);
    if (!serverConfig_ || !serverConfig_->up)
        throw Failure({{"08001", 17, std::string(kNetworkPrefix) + "SQL Server does not exist or access denied."},
                       {"01000", 53, std::string(kNetworkPrefix) + "ConnectionOpen (Connect())."}});

    std::vector<DatabaseEntry> seeds;
    for (const ServerConfig& server : config_.servers)
        for (const SeedDatabase& seed : server.databases)
            seeds.push_back({server.name, seed.name, seed.dataFile, seed.logFile, 0, false});
    Catalogue::Seed(config_.stateFile, seeds);

    const std::string loginFailed = "Login failed for user '" + user_ + "'.";
    if (!EqualsNoCase(user_, "sa") || Get(keys, "PWD") != serverConfig_->password) Refuse("28000", 18456, loginFailed);

    database_ = Get(keys, "DATABASE");
    if (database_.empty()) database_ = "master";
    const std::string cannotOpen =
        "Cannot open database \"" + database_ + "\" requested by the login. The login failed.";
    if (IsSystemDatabase(database_)) {
        sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        UseAnsiCase(db_);
    } else {
        Catalogue catalogue = Catalogue::Read(config_.stateFile);
        const DatabaseEntry* entry = catalogue.Find(serverConfig_->name, database_);
        std::optional<fs::path> file = entry ? MapWindowsPath(config_, entry->dataFile) : std::nullopt;
        if (!entry || !ExistsAsFile(file))
            throw Failure(
                {{"42000", 4060, kSqlServerPrefix + cannotOpen}, {"28000", 18456, kSqlServerPrefix + loginFailed}});
        try {
            OpenFile(file->string(), false);
        } catch (const std::exception&) {
            throw Failure(
                {{"42000", 4060, kSqlServerPrefix + cannotOpen}, {"28000", 18456, kSqlServerPrefix + loginFailed}});
        }
    }
    sqlite3_exec(db_, "ATTACH DATABASE ':memory:' AS sys", nullptr, nullptr, nullptr);
    sqlite3_exec(db_,
                 "CREATE TABLE sys.databases (name TEXT COLLATE NOCASE, database_id INTEGER, state_desc TEXT, "
                 "user_access_desc TEXT);"
                 "CREATE TABLE sys.master_files (database_id INTEGER, file_id INTEGER, type_desc TEXT, "
                 "name TEXT COLLATE NOCASE, physical_name TEXT COLLATE NOCASE);"
                 "CREATE TABLE sys.sysdatabases (name TEXT COLLATE NOCASE, dbid INTEGER, filename TEXT "
                 "COLLATE NOCASE)",
                 nullptr, nullptr, nullptr);
}

void Connection::OpenInterBase(const std::map<std::string, std::string>& keys) {
    server_ = Get(keys, "SERVER");
    database_ = Get(keys, "DATABASE");
    user_ = Get(keys, "UID");
    if (!config_.interbase.up)
        Refuse("08001", 335544721,
               "Unable to complete network request to host \"" + server_ + "\". Failed to establish a connection.");
    if (!EqualsNoCase(user_, config_.interbase.user) || Get(keys, "PWD") != config_.interbase.password)
        Refuse("28000", 335544472,
               "Your user name and password are not defined. Ask your database administrator to set up an InterBase "
               "login.");
    std::optional<fs::path> file = MapWindowsPath(config_, database_);
    const std::string ioError = "I/O error for file \"" + database_ + "\". Error while trying to open file. ";
    if (!ExistsAsFile(file)) Refuse("08004", 335544344, ioError + "The file does not exist.");
    try {
        OpenFile(file->string(), false);
    } catch (const std::exception&) {
        Refuse("08004", 335544344, ioError + "The file is not a valid database.");
    }
}

void Connection::Fail(const Fault& fault) const {
    std::string message = fault.message.empty() ? "Fault " + fault.name + " programmed by the test." : fault.message;
    throw Failure({{fault.state, fault.native, message.starts_with("[") ? message : Prefix() + message}});
}

void Connection::Log(const std::string& sql) const {
    if (config_.statementLog.empty()) return;
    AppendLine(config_.statementLog, {kind_ == Kind::kInterBase ? database_ : database_ + "@" + server_, sql});
}

void Connection::RecordOpen(const std::map<std::string, std::string>& keys, const std::string& masked,
                            const std::string& outcome) const {
    if (config_.connectionLog.empty()) return;
    AppendLine(config_.connectionLog,
               {outcome, Get(keys, "DRIVER"), Get(keys, "SERVER"), Get(keys, "DATABASE"), Get(keys, "UID"), masked});
}

Result Connection::Execute(const std::string& sql) {
    Log(sql);
    if (const Fault* fault = MatchFault(config_, Fault::Target::kStatement, sql)) Fail(*fault);
    // SQLite would end the statement at a zero byte and run only what stands before it.
    if (sql.find('\0') != std::string::npos) Refuse("42000", 102, "Incorrect syntax near '\\0'.");
    if (kind_ == Kind::kSqlServer) {
        ServerCommand command = ParseServerCommand(sql);
        if (command.kind != ServerCommand::kNone) return RunCommand(command);
    }
    std::string table = InsertTable(sql);
    if (!table.empty()) {
        if (const RefusedInsert* refused = config_.FindRefusedInsert(table)) {
            std::string message = refused->message;
            if (kind_ == Kind::kInterBase && message.starts_with(kSqlServerPrefix))
                message = kInterBasePrefix + std::string("no permission for insert/write access to TABLE ") + table;
            throw Failure({{"42000", kind_ == Kind::kInterBase ? 335544352 : 229, message}});
        }
    }
    if (kind_ == Kind::kSqlServer && UsesSysViews(sql)) RefreshSysViews();
    return RunSqlite(ToSqlite(sql));
}

void Connection::RefreshSysViews() {
    Catalogue catalogue = Catalogue::Read(config_.stateFile);
    std::string script = "DELETE FROM sys.databases; DELETE FROM sys.master_files; DELETE FROM sys.sysdatabases;";
    auto quote = [](const std::string& text) {
        std::string out = "'";
        for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
        return out + "'";
    };
    auto add = [&](const std::string& name, int id, const std::string& data, const std::string& log, bool online,
                   bool singleUser) {
        std::string n = quote(name), d = quote(data), l = quote(log), i = std::to_string(id);
        script += "INSERT INTO sys.databases VALUES (" + n + ", " + i + ", '" +
                  (online ? "ONLINE" : "RECOVERY_PENDING") + "', '" + (singleUser ? "SINGLE_USER" : "MULTI_USER") +
                  "');";
        script += "INSERT INTO sys.master_files VALUES (" + i + ", 1, 'ROWS', " + n + ", " + d + ");";
        script += "INSERT INTO sys.master_files VALUES (" + i + ", 2, 'LOG', " + quote(name + "_log") + ", " + l + ");";
        script += "INSERT INTO sys.sysdatabases VALUES (" + n + ", " + i + ", " + d + ");";
    };
    const char* system[] = {"master", "tempdb", "model", "msdb"};
    const char* systemLogs[] = {"mastlog.ldf", "templog.ldf", "modellog.ldf", "msdblog.ldf"};
    const char* systemData[] = {"master.mdf", "tempdb.mdf", "model.mdf", "msdbdata.mdf"};
    for (int i = 0; i < 4; ++i)
        add(system[i], i + 1, std::string(kSystemFolder) + systemData[i], std::string(kSystemFolder) + systemLogs[i],
            true, false);
    for (const DatabaseEntry& entry : catalogue.OnServer(serverConfig_->name))
        add(entry.name, entry.id, entry.dataFile, entry.logFile, ExistsAsFile(MapWindowsPath(config_, entry.dataFile)),
            entry.singleUser);
    char* error = nullptr;
    if (sqlite3_exec(db_, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string text = error ? error : "unknown";
        sqlite3_free(error);
        Refuse("HY000", 0, "the catalogue views could not be filled: " + text);
    }
}

Result Connection::RunCommand(const ServerCommand& command) {
    const std::string name = command.database;
    const std::string server = serverConfig_->name;
    Result done;
    if (IsSystemDatabase(name) && command.kind != ServerCommand::kSingleUser &&
        command.kind != ServerCommand::kMultiUser)
        Refuse("42000", 3708, "Cannot change the system database " + name + ".");

    if (EqualsNoCase(name, database_) && command.kind == ServerCommand::kDetach)
        Refuse("42000", 3703, "Cannot detach the database '" + name + "' because it is currently in use.");
    if (EqualsNoCase(name, database_) && command.kind == ServerCommand::kDrop)
        Refuse("42000", 3702, "Cannot drop database \"" + name + "\" because it is currently in use.");

    switch (command.kind) {
        case ServerCommand::kSingleUser:
        case ServerCommand::kMultiUser: {
            bool found = false;
            Catalogue::Update(config_.stateFile, [&](Catalogue& catalogue) {
                for (DatabaseEntry& entry : catalogue.entries)
                    if (CanonicalServerName(entry.server) == CanonicalServerName(server) &&
                        EqualsNoCase(entry.name, name)) {
                        entry.singleUser = command.kind == ServerCommand::kSingleUser;
                        found = true;
                    }
                return found;
            });
            if (!found && !IsSystemDatabase(name))
                throw Failure(
                    {{"42000", 5011,
                      kSqlServerPrefix + std::string("User does not have permission to alter database '") + name +
                          "', the database does not exist, or the database is not in a state that allows "
                          "access checks."},
                     {"42000", 5069, kSqlServerPrefix + std::string("ALTER DATABASE statement failed.")}});
            return done;
        }
        case ServerCommand::kDetach: {
            std::optional<Failure> failure;
            Catalogue::Update(config_.stateFile, [&](Catalogue& catalogue) {
                const DatabaseEntry* entry = catalogue.Find(server, name);
                if (!entry) {
                    failure = Failure({{"42000", 15010,
                                        kSqlServerPrefix + std::string("The database '") + name +
                                            "' does not exist. Supply a valid database name. To see available "
                                            "databases, use sys.databases."}});
                    return false;
                }
                DetachTimeout timeout = serverConfig_->detachTimeout;
                if (timeout == DetachTimeout::kAlways ||
                    (timeout == DetachTimeout::kUntilSingleUser && !entry->singleUser)) {
                    failure = Failure({{"HYT00", 0, "[Microsoft][ODBC SQL Server Driver]Query timeout expired"}});
                    return false;
                }
                if (!ExistsAsFile(MapWindowsPath(config_, entry->dataFile))) {
                    failure = Failure(
                        {{"42000", 5120,
                          kSqlServerPrefix + std::string("Unable to open the physical file \"") + entry->dataFile +
                              "\". Operating system error 2: \"2(The file does not exist.)\"."}});
                    return false;
                }
                catalogue.Remove(server, name);
                return true;
            });
            if (failure) throw *failure;
            return done;
        }
        case ServerCommand::kDrop: {
            std::optional<DatabaseEntry> dropped;
            Catalogue::Update(config_.stateFile, [&](Catalogue& catalogue) {
                if (const DatabaseEntry* entry = catalogue.Find(server, name)) dropped = *entry;
                return dropped && catalogue.Remove(server, name);
            });
            if (!dropped)
                Refuse("42000", 3701,
                       "Cannot drop the database '" + name +
                           "', because it does not exist or you do not have "
                           "permission.");
            // The server deletes the files of a database it drops.
            for (const std::string& file : {dropped->dataFile, dropped->logFile}) {
                std::optional<fs::path> path = MapWindowsPath(config_, file);
                std::error_code error;
                if (ExistsAsFile(path)) fs::remove(*path, error);
            }
            return done;
        }
        case ServerCommand::kCreate:
            Refuse("42000", 262, "CREATE DATABASE permission denied in database 'master'.");
        case ServerCommand::kAttach: {
            std::optional<Failure> failure;
            Catalogue::Update(config_.stateFile, [&](Catalogue& catalogue) {
                auto refuse = [&](int native, const std::string& text) {
                    failure =
                        Failure({{"42000", native, kSqlServerPrefix + text},
                                 {"42000", 1802,
                                  kSqlServerPrefix + std::string("CREATE DATABASE failed. Some file names listed "
                                                                 "could not be created. Check related errors.")}});
                    return false;
                };
                if (catalogue.Find(server, name))
                    return refuse(1801, "Database '" + name + "' already exists. Choose a different database name.");
                std::optional<fs::path> data = MapWindowsPath(config_, command.dataFile);
                const std::string osError = "Unable to open the physical file \"" + command.dataFile + "\". ";
                if (command.dataFile.empty() || !ExistsAsFile(data))
                    return refuse(5120, osError + "Operating system error 2: \"2(The file does not exist.)\".");
                for (const DatabaseEntry& other : catalogue.OnServer(server))
                    if (EqualsNoCase(other.dataFile, command.dataFile))
                        return refuse(5120, osError +
                                                "Operating system error 32: \"32(The process cannot access the "
                                                "file because it is being used by another process.)\".");
                if (!Writable(*data))
                    return refuse(5120, osError + "Operating system error 5: \"5(Access is denied.)\".");
                if (!IsDatabaseFile(*data))
                    return refuse(
                        5172, "The header for file '" + command.dataFile + "' is not a valid database file header.");
                DatabaseEntry entry{server, name, command.dataFile, FolderOf(command.dataFile) + name + "_Log.ldf",
                                    0,      false};
                // The log is rebuilt beside the data file.
                if (std::optional<fs::path> log = MapWindowsPath(config_, entry.logFile)) {
                    std::ofstream(*log, std::ios::binary | std::ios::trunc) << "stand-in transaction log\n";
                }
                catalogue.Add(entry);
                return true;
            });
            if (failure) throw *failure;
            return done;
        }
        case ServerCommand::kNone:
            break;
    }
    return done;
}

Result Connection::RunSqlite(const std::string& sql) {
    Result result;
    const char* rest = sql.data();
    const char* const end = sql.data() + sql.size();
    while (rest && rest < end) {
        Statement statement;
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(db_, rest, static_cast<int>(end - rest), &statement.handle, &tail);
        rest = tail;
        if (rc == SQLITE_OK && !statement.handle) continue;  // white space or a comment
        if (rc == SQLITE_OK) {
            int columns = sqlite3_column_count(statement.handle);
            if (columns > 0) {
                result = Result();
                result.hasRows = true;
                for (int c = 0; c < columns; ++c) {
                    const char* declared = sqlite3_column_decltype(statement.handle, c);
                    result.columns.push_back({sqlite3_column_name(statement.handle, c),
                                              declared && Lower(declared).find("int") != std::string::npos});
                }
            }
            while ((rc = sqlite3_step(statement.handle)) == SQLITE_ROW) {
                std::vector<std::optional<std::string>> row;
                for (int c = 0; c < columns; ++c) {
                    if (sqlite3_column_type(statement.handle, c) == SQLITE_NULL) {
                        row.emplace_back();
                    } else {
                        const unsigned char* text = sqlite3_column_text(statement.handle, c);
                        row.emplace_back(
                            std::string(reinterpret_cast<const char*>(text),
                                        static_cast<std::size_t>(sqlite3_column_bytes(statement.handle, c))));
                    }
                }
                result.rows.push_back(std::move(row));
            }
            if (rc == SQLITE_DONE) {
                if (columns == 0 && !sqlite3_stmt_readonly(statement.handle)) result.rowCount = sqlite3_changes(db_);
                continue;
            }
        }
        std::string message = sqlite3_errmsg(db_);
        std::string state = "HY000";
        int native = rc;
        if (message.starts_with("no such table: ")) {
            state = "42S02";
            native = 208;
            message = "Invalid object name '" + message.substr(15) + "'.";
        } else if (message.starts_with("no such column: ")) {
            state = "42S22";
            native = 207;
            message = "Invalid column name '" + message.substr(16) + "'.";
        } else if (message.find("syntax error") != std::string::npos) {
            state = "42000";
            native = 102;
            message = "Incorrect syntax: " + message;
        } else if ((rc & 0xff) == SQLITE_CONSTRAINT) {
            state = "23000";
            native = 2627;
        }
        Refuse(state, native, message);
    }
    return result;
}

}  // namespace standin
