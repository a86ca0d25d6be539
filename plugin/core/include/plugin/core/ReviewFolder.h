// The review folder: where PXEquip.ini puts a device function's files, and what lies there.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/core/Services.h"

namespace orvanta {

// A setting of the equipment entry of a device function: key in the section named by the equipment number of
// "Orvanta:" + deviceName (section "0" when there is none); nullopt when not found.
std::optional<std::u16string> EquipmentValue(Services& services, std::u16string_view deviceName,
                                             std::u16string_view key);
// Whether path names an existing folder.
bool FolderExists(Services& services, std::u16string_view path);
// The names of the entries, files and folders, that match a wildcard pattern, in the order the system lists
// them; entries marked hidden or system are left out. None when the folder does not exist.
std::vector<std::u16string> ListReviewEntries(Services& services, std::u16string_view pattern);

}  // namespace orvanta
