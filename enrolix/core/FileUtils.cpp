// File utilities of the tool: status, read-only attribute, delete and copy with result codes.
#include <cctype>
#include <vector>

#include "enrolix/core/Maintenance.h"

namespace enrolix {

namespace {

// Upper case, "/" as "\", runs of separators as one, "." and ".." segments resolved, no trailing separator.
// A leading "\\" (UNC) is kept.
std::string NormalisedPath(const std::string& path) {
    std::string prefix;
    std::size_t start = 0;
    auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        prefix = "\\\\";
        start = 2;
    } else if (!path.empty() && isSeparator(path[0])) {
        prefix = "\\";
        start = 1;
    }
    std::vector<std::string> segments;
    std::string segment;
    auto flush = [&] {
        if (segment == "..") {
            if (!segments.empty() && segments.back() != ".." && segments.back().find(':') == std::string::npos) {
                segments.pop_back();
            } else {
                segments.push_back(segment);
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        segment.clear();
    };
    for (std::size_t i = start; i < path.size(); ++i) {
        char c = path[i];
        if (isSeparator(c)) {
            flush();
        } else {
            segment += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    flush();
    std::string result = prefix;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i > 0) result += '\\';
        result += segments[i];
    }
    return result;
}

}  // namespace

bool IsSamePath(const std::string& a, const std::string& b) { return NormalisedPath(a) == NormalisedPath(b); }

bool ExistsAsFile(Tool& tool, const std::string& path) {
    auto status = tool.files.Status(path);
    return status && !status->isDirectory;
}

std::string GetFolderOfPath(const std::string& path) {
    auto slash = path.rfind('\\');
    if (slash == std::string::npos || slash == 0) return std::string();
    return path.substr(0, slash);
}

int ClearReadOnly(Tool& tool, const std::string& path) {
    return ExistsAsFile(tool, path) && tool.files.SetWritable(path, true) ? 1 : 0;
}

int MakeFileReadOnly(Tool& tool, const std::string& path) {
    return ExistsAsFile(tool, path) && tool.files.SetWritable(path, false) ? 1 : 0;
}

int HardDeleteFile(Tool& tool, const std::string& path) {
    if (ExistsAsFile(tool, path) && ClearReadOnly(tool, path) == 1) tool.files.RemoveFile(path);
    return ExistsAsFile(tool, path) ? 0 : 1;
}

int HardCopyFile(Tool& tool, const std::string& source, const std::string& target) {
    if (!ExistsAsFile(tool, source)) return 1;
    // Two spellings of one file: removing the target would remove the source.
    if (IsSamePath(source, target)) return 0;
    if (HardDeleteFile(tool, target) == 0) return 2;
    tool.files.Copy(source, target, true);
    return ExistsAsFile(tool, target) ? 0 : 3;
}

}  // namespace enrolix
