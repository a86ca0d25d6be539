#include "enrolix/core/Log.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

namespace enrolix {
namespace {

constexpr std::size_t kTimeBuffer = 128;
constexpr std::size_t kErrorTextLimit = 1023;

std::string LocalTimeText(Tool& tool) {
    std::tm now = tool.clock.LocalNow();
    char buffer[kTimeBuffer] = {};
    if (std::strftime(buffer, sizeof buffer, "%m/%d/%Y %H:%M:%S", &now) == 0) return {};
    return buffer;
}

std::string HeaderLine(std::string_view text) {
    std::string line = "Time, Type, ";
    line.append(text);
    line += '\n';
    return line;
}

std::string MessageLine(Tool& tool, int type, std::string_view text, int columnStyle) {
    const std::string time = LocalTimeText(tool);
    std::string line;
    if (columnStyle == 0) {
        line.append("[").append(time).append(type == kLogError ? ", ERROR" : "").append("] ");
    } else {
        line.append(" ").append(time).append(", ").append(type == kLogError ? "ERROR" : "Normal").append(", ");
    }
    line.append(text);
    line += '\n';
    return line;
}

}  // namespace

void WriteLogFile(Tool& tool, int type, std::string_view text, const std::string& fileName, std::uint64_t sizeLimit,
                  int columnStyle) {
    if (fileName.empty()) return;
    auto folder = tool.files.Status(kLogFolder);
    if (!folder || !folder->isDirectory) tool.files.MakeDirectory(kLogFolder);

    const std::string path = std::string(kLogFolder) + "\\" + fileName;
    platform::WriteMode mode = platform::WriteMode::Append;
    bool fresh = true;  // the file is new or emptied: the only place for a header
    if (auto status = tool.files.Status(path)) {
        if (status->size >= sizeLimit) {
            mode = platform::WriteMode::Truncate;
        } else {
            fresh = false;
        }
    }
    if (type == kLogHeader && !fresh) return;

    const std::string line = type == kLogHeader ? HeaderLine(text) : MessageLine(tool, type, text, columnStyle);
    if (!tool.files.WriteText(path, line, mode)) {
        std::printf("Fail to write log to file %s", fileName.c_str());
        std::fflush(stdout);
    }
}

void LogMessage(Tool& tool, int type, const char* format, ...) {
    char buffer[kLogMessageBuffer] = {};
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    WriteLogFile(tool, type, buffer, kLogFile, kLogLimit, 0);
}

void ReportDbException(Tool& tool, const char* operation, unsigned line, std::string_view errorText) {
    std::string text(errorText.substr(0, kErrorTextLimit));
    // The text stops where a zero byte would end it in a character buffer.
    text.resize(std::string_view(text.c_str()).size());
    WriteLogFile(tool, kLogError,
                 "Exception in File: " + std::string(kSourceName) + " Line " + std::to_string(line) +
                     " function=" + operation + " ex=" + text,
                 kLogFile, kLogLimit, 0);
}

void ReportOtherException(Tool& tool) {
    WriteLogFile(tool, kLogError, std::string("Exception in ") + kSourceName, kLogFile, kLogLimit, 0);
}

}  // namespace enrolix
