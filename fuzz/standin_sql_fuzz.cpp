// The stand-in's translation of the tool's statements: any values in the N'...' literals of an insert are
// stored exactly as sent and found again by a query on them, whatever the literals hold and however they sit
// next to each other; any other text translates without failing.
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "standin/core/Sql.h"

namespace {

std::string Literal(const std::string& value) {
    std::string out = "N'";
    for (char c : value) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

struct Database {
    sqlite3* db = nullptr;
    Database() { sqlite3_open(":memory:", &db); }
    ~Database() { sqlite3_close(db); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool Run(const std::string& sql) { return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK; }
    std::vector<std::vector<std::string>> Rows(const std::string& sql) {
        std::vector<std::vector<std::string>> rows;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) fuzz::Fail("the query prepares", sql);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            std::vector<std::string>& row = rows.emplace_back();
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                row.emplace_back(text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)))
                                      : std::string());
            }
        }
        sqlite3_finalize(stmt);
        return rows;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    standin::ToSqlite(text);  // any text translates

    std::vector<std::string> values = fuzz::Fields(data, size);
    values.resize(3);
    for (std::string& value : values) value = value.substr(0, value.find('\0'));

    Database db;
    db.Run("CREATE TABLE Patient (MACHINE_ID TEXT, PATIENT_ID INTEGER, LNAME TEXT, FName TEXT, DOB TEXT)");
    // The tool's insert shape, and its literals written without blanks between them.
    const std::string insert =
        "INSERT INTO Patient ([MACHINE_ID], [PATIENT_ID], [LNAME], [FName], [DOB]) VALUES (N'm', 1, " +
        Literal(values[0]) + ", " + Literal(values[1]) + ", " + Literal(values[2]) + ")";
    const std::string packed =
        "INSERT INTO dbo.Patient([MACHINE_ID],[PATIENT_ID],[LNAME],[FName],[DOB])VALUES(N'm',2," + Literal(values[0]) +
        "," + Literal(values[1]) + "," + Literal(values[2]) + ")";
    for (const std::string& statement : {insert, packed}) {
        const std::string translated = standin::ToSqlite(statement);
        fuzz::Check(db.Run(translated), "the insert runs", translated, statement);
    }
    const std::vector<std::vector<std::string>> expected = {{"1", values[0], values[1], values[2]},
                                                            {"2", values[0], values[1], values[2]}};
    const auto stored = db.Rows("SELECT PATIENT_ID, LNAME, FName, DOB FROM Patient ORDER BY PATIENT_ID");
    for (std::size_t r = 0; r < expected.size(); ++r)
        for (std::size_t c = 0; c < expected[r].size(); ++c)
            fuzz::Check(r < stored.size() && stored[r] == expected[r], "the values are stored as sent",
                        r < stored.size() && c < stored[r].size() ? stored[r][c] : "(missing)", expected[r][c]);

    const std::string query = "Select PATIENT_ID From PATIENT WHERE LNAME=" + Literal(values[0]) +
                              " AND FNAME=" + Literal(values[1]) + " AND DOB=" + Literal(values[2]);
    const auto found = db.Rows(standin::ToSqlite(query));
    fuzz::Check(found.size() == 2, "a query on the values finds them", std::to_string(found.size()), "2");
    return 0;
}
