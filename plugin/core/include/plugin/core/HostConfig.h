// The host's praxo32.ini and PXEquip.ini, read afresh on every call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plugin/core/Services.h"

namespace orvanta {

inline constexpr std::u16string_view kPraxoIni = u"praxo32.ini";
inline constexpr std::u16string_view kEquipIni = u"PXEquip.ini";
// The maker word that starts the plug-in's keys in the equipment list.
inline constexpr std::u16string_view kEquipmentKeyPrefix = u"Orvanta:";

// One value of a file in the Windows folder (bare file name), through a 255-character buffer with an empty
// default. nullopt when absent, empty or in a missing file.
std::optional<std::u16string> ReadHostValue(Services& services, std::u16string_view file, std::u16string_view section,
                                            std::u16string_view key);

// The host data folder ("System", "DataDir"): the value when it holds "\\" or ":", else "-4"; "-3" after the
// unreadable-praxo32.ini box when missing. Traps its own errors and reports them.
std::u16string GetPraxoDBPath(Services& services);
// As GetPraxoDBPath, but "-3" also when the folder has no praxo.mdb; its box carries the error title.
std::u16string GetPraxoDBPathOfExistingDatabase(Services& services);
// The host programs folder ("System", "PgmsDir"), or "-3" after the unreadable-praxo32.ini box.
std::u16string GetPraxoPath(Services& services);
// The host programs folder, or empty; never shows anything.
std::u16string ReadProgramsFolder(Services& services);
// Whether PXEquip.ini's "WriteReceiveDataLog" reads YES in any case.
bool ShouldWriteToLog(Services& services);

// The number of the first equipment entry whose key fields spell key, 0 when none. Raises "Overflow" for an
// entry count beyond 16 bits and "Type mismatch" for a matching entry whose number is not a number.
std::int16_t FindEquipmentNumber(Services& services, std::u16string_view key);

}  // namespace orvanta
