// What one run of the registration tool works with: the platform and the run's cache.
#pragma once

#include <string>
#include <string_view>

#include "enrolix/core/Text.h"
#include "platform/Database.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/System.h"

namespace enrolix {

// Values worked out at first use and kept for the run.
struct SiteCache {
    std::string computerName;
    std::string machineName;
    std::string databaseKind;
    int sqlServerFlag = -1;  // -1 not yet known, 0 InterBase, 1 SQL Server
};

struct Tool {
    platform::IProfile& profile;
    platform::IFileSystem& files;
    platform::IMessageBox& boxes;
    platform::IClock& clock;
    platform::ISystem& system;
    platform::IDbDriver& db;
    SiteCache cache{};
    // Upper-cases the request's text the way the database's UPPER() sees its letters (the ANSI code page's
    // letters, not only A to Z); nullptr upper-cases A to Z only.
    std::string (*upperCase)(std::string_view) = nullptr;
};

// The upper case of text by the tool's rules: tool.upperCase, else A to Z only.
inline std::string UpperCase(const Tool& tool, std::string_view text) {
    return tool.upperCase ? tool.upperCase(text) : UpperAscii(text);
}

// Equal without regard to case, by the same rules as UpperCase.
inline bool EqualsIgnoringCase(const Tool& tool, std::string_view a, std::string_view b) {
    return UpperCase(tool, a) == UpperCase(tool, b);
}

}  // namespace enrolix
