// The tool's entry sequence: arguments, connection, registration, outcome.
#pragma once

#include <string>
#include <vector>

#include "enrolix/core/Tool.h"

namespace enrolix {

inline constexpr int kNoModuleHandle = -101;
inline constexpr int kFrameworkFailed = -100;
inline constexpr int kInvalidParameters = -40;
inline constexpr int kNewFlagOff = -30;
inline constexpr int kConnectFailed = -20;

// The message shown for a result code; empty for 1 and more.
std::string ResultMessage(int code);

// Runs one request. arguments are those after the program name. Returns the exit code; shows the result's
// message, if any, in a box titled "Error" before it returns.
int RunEnrolix(Tool& tool, const std::vector<std::string>& arguments);

}  // namespace enrolix
