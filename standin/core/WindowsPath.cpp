#include "standin/core/WindowsPath.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "standin/core/Ini.h"

namespace standin {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> DriveRoot(const Config& config, char letter) {
    letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    if (auto it = config.driveRoots.find(letter); it != config.driveRoots.end()) return it->second;
    fs::path prefix;
    if (const char* wine = std::getenv("WINEPREFIX"); wine && *wine) {
        prefix = wine;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        prefix = fs::path(home) / ".wine";
    } else {
        return std::nullopt;
    }
    std::error_code error;
    fs::path device = prefix / "dosdevices" / (std::string(1, letter) + ":");
    if (fs::exists(device, error)) return device;
    if (letter == 'c' && fs::is_directory(prefix / "drive_c", error)) return prefix / "drive_c";
    return std::nullopt;
}

}  // namespace

bool IsWindowsPath(std::string_view path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::optional<fs::path> MapWindowsPath(const Config& config, std::string_view path) {
    if (!IsWindowsPath(path)) {
        if (!path.empty() && path[0] == '/') return fs::path(path);
        return std::nullopt;
    }
    std::optional<fs::path> root = DriveRoot(config, path[0]);
    if (!root) return std::nullopt;

    std::vector<std::string> parts;
    std::string part;
    for (char c : path.substr(2)) {
        if (c == '\\' || c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);

    std::vector<std::string> kept;
    for (const std::string& p : parts) {
        if (p == ".") continue;
        if (p == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(p);
    }

    fs::path current = *root;
    for (const std::string& p : kept) {
        std::error_code error;
        fs::path exact = current / p;
        if (fs::exists(fs::symlink_status(exact, error))) {
            current = exact;
            continue;
        }
        fs::path found;
        if (fs::is_directory(current, error)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(current, error)) {
                if (EqualsNoCase(entry.path().filename().string(), p)) {
                    found = entry.path();
                    break;
                }
            }
        }
        current = found.empty() ? exact : found;
    }
    return current;
}

std::string WindowsFolder(std::string_view path) {
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

}  // namespace standin
