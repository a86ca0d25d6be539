// Paths given to the tools from a Linux shell under Wine.
#pragma once

#include <string>

namespace tools {

// A path starting with "/" is a host path: it becomes the DOS path Wine maps it to. Other paths are kept.
std::string ToWindowsPath(const std::string& path);

}  // namespace tools
