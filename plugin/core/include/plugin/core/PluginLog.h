// The plug-in's three text files in its own folder, and the error report.
#pragma once

#include <string>
#include <string_view>

#include "plugin/core/Services.h"
#include "plugin/core/VbError.h"

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

}  // namespace orvanta
