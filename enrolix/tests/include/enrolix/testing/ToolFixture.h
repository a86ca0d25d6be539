// A run context over in-memory fakes, with a standard imaging site.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "enrolix/core/Tool.h"
#include "enrolix/testing/FakeServer.h"
#include "platform/fake/FakePlatform.h"

namespace enrolix::test {

inline constexpr const char* kLogPath = "C:\\Orvanta\\Logs\\Enrolix.log";
inline constexpr const char* kTomoCfg = "C:\\SCANSUITE\\\\bin\\TomoCfg.ini";
inline constexpr const char* kLocalMdf = "C:\\SCANSUITE\\db_repository\\PATIENT.mdf";
inline constexpr const char* kLocalIb = "C:\\SCANSUITE\\db_repository\\PATIENT.ib";
inline constexpr const char* kLocalSqlServer = "localhost\\SQLKOR";

// Upper case of the Windows-1252 letters, as the Windows build's upper-casing gives it.
inline std::string Cp1252Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) {
            c = static_cast<char>(b - 0x20);
        } else if (b == 0x9A || b == 0x9C || b == 0x9E) {  // š œ ž
            c = static_cast<char>(b - 0x10);
        } else if (b == 0xFF) {  // ÿ
            c = static_cast<char>(0x9F);
        }
    }
    return upper;
}

class ToolFixture : public ::testing::Test, protected platform::fake::FakePlatform {
protected:
    ToolFixture() {
        files.AddFolder("C:\\Orvanta\\Database");
        files.AddFolder("C:\\SCANSUITE\\bin");
    }

    std::string Log() const { return files.Content(kLogPath); }
    std::string Ini(const std::string& file, const std::string& section, const std::string& key) const {
        return profile.Get(file, section, key).value_or("<missing>");
    }

    // A site on the local SQL Server whose PATIENT database is the site's own file.
    FakeImagingDb& LocalSqlSite() {
        profile.Write(kTomoCfg, "System Parameters", "Database", "SQL Server");
        server.AddServer(kLocalSqlServer, "tumbleoak");
        return server.ServeImagingDb(kLocalSqlServer, kLocalMdf);
    }

    FakeServer server{files};
    Tool tool{profile, files, boxes, clock, system, server};
};

}  // namespace enrolix::test
