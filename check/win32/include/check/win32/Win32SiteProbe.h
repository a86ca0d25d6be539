// The site check's questions to Windows: the Windows folder, whether files could be written, the ODBC drivers.
#pragma once

#include "check/core/SiteChecks.h"

namespace orvanta::check::win32 {

class Win32SiteProbe : public ISiteProbe {
public:
    std::string WindowsFolder() override;
    bool CanAppend(const std::string& file) override;
    bool CanAddFiles(const std::string& folder) override;
    std::vector<std::string> OdbcDrivers() override;
    std::string Architecture() override;
};

}  // namespace orvanta::check::win32
