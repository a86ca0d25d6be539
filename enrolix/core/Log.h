// Enrolix.log: the writer, its printf-style front end, and the guarded block.
#pragma once

#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>

#include "Tool.h"

namespace enrolix {

inline constexpr const char* kLogFolder = "C:\\Orvanta\\Logs";
inline constexpr const char* kLogFile = "Enrolix.log";
inline constexpr std::uint64_t kLogLimit = 102400;

enum LogType : int { kLogNormal = 0, kLogError = 1, kLogHeader = 2 };

void WriteLogFile(Tool& tool, int type, std::string_view text, const std::string& fileName, std::uint64_t sizeLimit,
                  int columnStyle);

// Formats into a buffer of 16384 bytes and writes a bracket-form line to Enrolix.log.
void LogMessage(Tool& tool, int type, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Runs body; a DbError is reported with file, line, operation and text, anything else as "Exception in Enrolix".
// Neither rethrows. Returns false when something was caught.
template <class Body>
bool Guarded(Tool& tool, const char* operation, Body&& body, std::source_location where = std::source_location::current());

void ReportDbException(Tool& tool, const char* operation, unsigned line, const char* errorText);
void ReportOtherException(Tool& tool);

template <class Body>
bool Guarded(Tool& tool, const char* operation, Body&& body, std::source_location where) {
    try {
        body();
        return true;
    } catch (const platform::DbError& e) {
        ReportDbException(tool, operation, where.line(), e.what());
    } catch (...) {
        ReportOtherException(tool);
    }
    return false;
}

}  // namespace enrolix
