// Test folders, and one odbcinst.ini for the whole test process, registering the stand-in under both of the tool's
// driver names. The driver manager remembers the folder it first read, so it is never changed or removed while tests
// run.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

// A new empty folder under the system's temporary folder.
inline std::filesystem::path MakeTestFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    return std::filesystem::path(mkdtemp(pattern.data()));
}

inline void RegisterStandinDrivers() {
    struct Registration {
        std::filesystem::path folder;
        Registration() {
            folder = MakeTestFolder("standin-odbcinst");
            std::ofstream(folder / "odbcinst.ini") << "[SQL Server]\nDriver=" STANDIN_DRIVER "\n\n"
                                                   << "[Gemini InterBase ODBC Driver 2.0]\nDriver=" STANDIN_DRIVER "\n";
            std::ofstream(folder / "odbc.ini") << "[Standin Local]\nDriver = SQL Server\n"
                                                  "Server = localhost\\SQLKOR\nDatabase = MASTER\n";
        }
        ~Registration() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    };
    static const Registration registration;
    setenv("ODBCSYSINI", registration.folder.c_str(), 1);
    setenv("ODBCINSTINI", "odbcinst.ini", 1);
}
