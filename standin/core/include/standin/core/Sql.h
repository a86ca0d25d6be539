// The statements the stand-in receives: T-SQL texts turned into SQLite texts, and the server-level commands.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

struct Token {
    enum Kind { kWord, kString, kQuotedName, kNumber, kPunct };
    Kind kind = kWord;
    std::string text;                // the value: a string or quoted name without its quotes, escapes undone
    std::size_t begin = 0, end = 0;  // its span in the statement
};

// Splits a statement into tokens; white space and comments are left out. An unterminated string or name runs
// to the end of the text.
std::vector<Token> Tokenize(std::string_view sql);

// The statement as SQLite reads it: N'...' literals become '...' with the same value, [names] become "names",
// and a multi-part name loses a dbo or empty schema with everything before it (PATIENT.dbo.Patient, master..t)
// and what stands before sys (master.sys.databases is sys.databases). Everything else, white space and comments
// included, stays as it is; a blank is put in only where a rewritten token would otherwise run on into the next.
std::string ToSqlite(std::string_view sql);

struct ServerCommand {
    enum Kind { kNone, kSingleUser, kMultiUser, kDetach, kDrop, kAttach, kCreate };
    Kind kind = kNone;
    std::string database;
    std::string dataFile;  // kAttach: the first FILENAME
};

// Recognises ALTER DATABASE x SET SINGLE_USER|MULTI_USER ..., [EXEC] sp_detach_db [@dbname =] 'x' ...,
// DROP DATABASE x, CREATE DATABASE x ON (FILENAME = N'...') FOR ATTACH[_REBUILD_LOG] and CREATE DATABASE x.
ServerCommand ParseServerCommand(std::string_view sql);

// The table of an INSERT INTO statement, without schema qualifier; empty for other statements.
std::string InsertTable(std::string_view sql);

// True when the statement names an object of the sys schema (sys.databases, master.sys.master_files ...).
bool UsesSysViews(std::string_view sql);

}  // namespace standin
