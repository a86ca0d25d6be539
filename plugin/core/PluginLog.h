// The plug-in's three text files in its own folder, and the error report.
#pragma once

#include <string>
#include <string_view>

#include "Services.h"
#include "VbError.h"

namespace orvanta {

inline constexpr std::u16string_view kPluginLogFile = u"Orvanta.log";
inline constexpr std::u16string_view kExamDataLogFile = u"KW_Orvanta.log";
inline constexpr std::u16string_view kErrorFile = u"PX_IF_Orvanta.err";
inline constexpr std::u16string_view kErrorTitle = u"PXEquipIF OrvantaIF Error";

// "MM-DD-YYYY", two blanks, the long time of the moment.
std::u16string Timestamp(Services& services);

// Appends an empty line and "timestamp + text" to Orvanta.log. Raises "Path/File access error" when the
// file cannot be written.
void WritePluginLog(Services& services, std::u16string_view text);

// Appends an empty line, "timestamp + text" and one more empty line to KW_Orvanta.log. Raises like
// WritePluginLog.
void WriteExamDataLog(Services& services, std::u16string_view text);

// Shows the critical error box for error and, after OK, appends its record to PX_IF_Orvanta.err.
// Raises like WritePluginLog when the file cannot be written.
void ReportError(Services& services, std::u16string_view context, const VbError& error);

// The report of a trapping operation: ReportError, except that a failure to write the error file is dropped, so
// the trap still ends its operation normally and the box has shown the error.
void ReportTrappedError(Services& services, std::u16string_view context, const VbError& error);
// The report of a device-function trap: trapText to Orvanta.log, then ReportTrappedError with it. A log that
// cannot be written does not keep the error from being reported.
void LogAndReportTrappedError(Services& services, std::u16string_view trapText, const VbError& error);

}  // namespace orvanta
