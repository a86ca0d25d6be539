#include "standin/core/Faults.h"

#include <cstdlib>
#include <fstream>
#include <vector>

#include "standin/core/AnsiText.h"
#include "standin/core/FileLock.h"
#include "standin/core/Ini.h"

namespace standin {

const Fault* MatchFault(const Config& config, Fault::Target target, std::string_view text) {
    std::vector<const Fault*> matching;
    for (const Fault& fault : config.faults)
        if (fault.target == target && GlobNoCaseAnsi(fault.pattern, text)) matching.push_back(&fault);
    if (matching.empty()) return nullptr;

    FileLock lock(config.faultCounts, true);
    Ini counts = Ini::Load(config.faultCounts);
    Ini::Section& section = counts.FindOrAdd("matches");
    const Fault* failing = nullptr;
    for (const Fault* fault : matching) {
        long count = std::atol(section.Get(fault->name, "0").c_str()) + 1;
        section.Set(fault->name, std::to_string(count));
        if (!failing && fault->FailsAt(count)) failing = fault;
    }
    std::filesystem::path temporary = config.faultCounts;
    temporary += ".new";
    std::ofstream(temporary, std::ios::binary | std::ios::trunc)
        << "# How often each [fault NAME] of the stand-in's configuration has matched\n\n"
        << counts.Format();
    std::error_code error;
    std::filesystem::rename(temporary, config.faultCounts, error);
    return failing;
}

}  // namespace standin
