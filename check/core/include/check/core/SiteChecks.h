// The checks of a workstation's set-up, read with the plug-in's and the tool's own code.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/core/CheckReport.h"
#include "enrolix/core/Tool.h"
#include "plugin/core/Services.h"

namespace orvanta::check {

inline constexpr std::string_view kHostArea = "Host files";
inline constexpr std::string_view kDeviceArea = "Device functions";
inline constexpr std::string_view kPluginArea = "Plug-in";
inline constexpr std::string_view kToolArea = "Registration tool";

// What the checks ask of the platform beyond the plug-in's and the tool's interfaces; every answer leaves the
// site as it was.
class ISiteProbe {
public:
    virtual ~ISiteProbe() = default;
    // The Windows folder, where the host keeps praxo32.ini and PXEquip.ini.
    virtual std::string WindowsFolder() = 0;
    // Whether the existing file opens for appending (opened and closed again, nothing written).
    virtual bool CanAppend(const std::string& file) = 0;
    // Whether files can be created in the existing folder (its permissions are asked, nothing is created).
    virtual bool CanAddFiles(const std::string& folder) = 0;
    // The ODBC drivers installed for this program's architecture.
    virtual std::vector<std::string> OdbcDrivers() = 0;
    // "32-bit" or "64-bit": this program's architecture, which is the registration tool's.
    virtual std::string Architecture() = 0;
};

// The plug-in's and the tool's views of the site, both over read-only platform adapters (ReadOnly.h).
struct Site {
    Services& plugin;
    enrolix::Tool& tool;
    ISiteProbe& probe;
};

void CheckHostFiles(Site& site, CheckReport& report);
void CheckDeviceFunctions(Site& site, CheckReport& report);
void CheckRegistrationTool(Site& site, CheckReport& report);

// A file a program appends to: writable when it exists, else its folder must take new files.
void CheckWritableFile(Site& site, CheckReport& report, std::string_view area, std::string name,
                       const std::string& path, const std::string& advice);

// Helpers shared by the checks.
bool IsFolder(Site& site, const std::string& path);
bool IsFile(Site& site, const std::string& path);

}  // namespace orvanta::check
