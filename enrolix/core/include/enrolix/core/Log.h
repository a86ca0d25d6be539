// Enrolix.log: the writer, its printf-style front end, and the guarded block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>

#include "enrolix/core/Tool.h"

namespace enrolix {

inline constexpr const char* kLogFolder = "C:\\Orvanta\\Logs";
inline constexpr const char* kLogFile = "Enrolix.log";
inline constexpr std::uint64_t kLogLimit = 102400;
inline constexpr std::size_t kLogMessageBuffer = 16384;
inline constexpr const char* kSourceName = "Enrolix";

enum LogType : int { kLogNormal = 0, kLogError = 1, kLogHeader = 2 };

// Writes one line (type 0 or 1) or the header (type 2) to the named file in the log folder. Column style 0 is
// the bracket form, anything else the column form. A failure is printed to standard output, never returned.
void WriteLogFile(Tool& tool, int type, std::string_view text, const std::string& fileName, std::uint64_t sizeLimit,
                  int columnStyle);

// Formats into a buffer of 16384 bytes (longer messages are cut) and writes a bracket-form line to Enrolix.log.
void LogMessage(Tool& tool, int type, const char* format, ...) __attribute__((format(printf, 3, 4)));

// "Exception in File: Enrolix Line <line> function=<operation> ex=<text>", the text cut to 1023 characters.
void ReportDbException(Tool& tool, const char* operation, unsigned line, std::string_view errorText);
// "Exception in Enrolix".
void ReportOtherException(Tool& tool);

enum class Catches { Everything, DbErrorsOnly };

// Runs body. A DbError is reported with the line of the call site, the operation and its text; with
// Catches::Everything any other exception is reported as "Exception in Enrolix", otherwise it passes on.
// Never rethrows what it reported. Returns false when something was caught.
template <Catches kCatches = Catches::Everything, class Body>
bool Guarded(Tool& tool, const char* operation, Body&& body,
             std::source_location where = std::source_location::current()) {
    try {
        try {
            body();
            return true;
        } catch (const platform::DbError& e) {
            ReportDbException(tool, operation, where.line(), e.what());
        }
    } catch (...) {
        if constexpr (kCatches == Catches::DbErrorsOnly) throw;
        ReportOtherException(tool);
    }
    return false;
}

}  // namespace enrolix
