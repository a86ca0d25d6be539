// The plug-in's registration in each registry view of this Windows: class, server file, type library, version and
// the text files beside the DLL.
#pragma once

#include "check/core/CheckReport.h"
#include "check/core/SiteChecks.h"

namespace orvanta::check::win32 {

void CheckPluginRegistration(Site& site, CheckReport& report);

}  // namespace orvanta::check::win32
