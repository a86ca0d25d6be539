#include "plugin/core/ReviewFolder.h"

#include "plugin/core/FileSystemObject.h"
#include "plugin/core/HostConfig.h"
#include "plugin/core/Text.h"

namespace orvanta {

std::optional<std::u16string> EquipmentValue(Services& services, std::u16string_view deviceName,
                                             std::u16string_view key) {
    std::u16string entry(kEquipmentKeyPrefix);
    entry += deviceName;
    return ReadHostValue(services, kEquipIni, Decimal(FindEquipmentNumber(services, entry)), key);
}

bool FolderExists(Services& services, std::u16string_view path) {
    return FileSystemObject(services).FolderExists(path);
}

std::vector<std::u16string> ListReviewEntries(Services& services, std::u16string_view pattern) {
    std::vector<std::u16string> names;
    auto entries = services.files.List(ToUtf8(pattern));
    if (!entries) return names;
    names.reserve(entries->size());
    for (const platform::DirEntry& entry : *entries)
        if (!entry.hidden && !entry.system) names.push_back(FromUtf8(entry.name));
    return names;
}

}  // namespace orvanta
