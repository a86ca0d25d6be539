// Where a capture takes its files from and puts them, as the capture, the review, the count and the site check
// all read it from the device-function settings and PXEquip.ini, and the configurations a capture refuses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "plugin/core/Services.h"

namespace orvanta {

// A capture's program and folders.
struct CaptureFolders {
    std::u16string program;      // EquipProgPathFName
    std::u16string acquisition;  // EquipDataPath
    std::u16string review;
};

// The capture's values: program and dataPath (as LoadEquipProps left them) overridden by the capture entry
// "Orvanta:" + captureName of PXEquip.ini; the review folder from the review entry (the name with every
// "Capture" as "Review"), else acquisition + "\Data". Raises what the equipment lookup raises.
CaptureFolders ReadCaptureFolders(Services& services, std::u16string_view captureName, std::u16string_view program,
                                  std::u16string_view dataPath);
// The review entry's "EquipDataPath" for a device-function name (every "Capture" in it read as "Review").
std::optional<std::u16string> ReviewEntryFolder(Services& services, std::u16string_view name);
// The folder the review lists for a review device function: the review entry's "EquipDataPath", else dataPath
// (EquipDataPath after LoadEquipProps) when not empty, else the capture entry's trimmed, with "\Data".
std::u16string ReviewListFolder(Services& services, std::u16string_view reviewName, std::u16string_view dataPath);

// Whether two paths name the same folder as Windows compares them: case ignored, a trailing backslash ignored,
// the full (and long) path where the system can tell. An empty path is no folder.
bool SameFolder(Services& services, std::u16string_view a, std::u16string_view b);

// The configurations a capture refuses before it starts, creates or moves anything.
enum class CaptureRefusal { kNone, kAcquisitionIsProgramsFolder, kReviewIsAcquisition };
// programsFolder: the host programs folder (empty when unknown).
CaptureRefusal FindCaptureRefusal(Services& services, const CaptureFolders& folders,
                                  std::u16string_view programsFolder);
// What the IT person must configure for a refusal: the PXEquip.ini entries and their "EquipDataPath".
std::u16string CaptureRefusalText(CaptureRefusal refusal, std::u16string_view captureName,
                                  const CaptureFolders& folders);

}  // namespace orvanta
