// Programmed failures: which statement or open fails, by pattern and occurrence.
#pragma once

#include <string_view>

#include "standin/core/Config.h"

namespace standin {

// Counts one match for every fault of the target whose pattern matches text (in the fault_counts file, so
// that the count runs on across processes) and returns the first of them whose occurrence this is; nullptr
// when none fails.
const Fault* MatchFault(const Config& config, Fault::Target target, std::string_view text);

}  // namespace standin
