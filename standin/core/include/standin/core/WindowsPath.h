// Windows paths as the tool writes them (C:\SCANSUITE\db_repository\PATIENT.mdf), found on this file system.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "standin/core/Config.h"

namespace standin {

bool IsWindowsPath(std::string_view path);

// Maps a drive path onto its configured root, else onto the drive of the Wine prefix ($WINEPREFIX or ~/.wine).
// Each component is looked up without regard to case, as Windows does; missing components keep their spelling.
// An absolute native path is taken as it is. Empty when the drive is unknown.
std::optional<std::filesystem::path> MapWindowsPath(const Config& config, std::string_view path);

// The folder part of a Windows path ("C:\x\y.mdf" gives "C:\x").
std::string WindowsFolder(std::string_view path);

}  // namespace standin
