#include "plugin/core/CaptureFolders.h"

#include "plugin/core/HostConfig.h"
#include "plugin/core/ReviewFolder.h"
#include "plugin/core/Text.h"

namespace orvanta {

namespace {

constexpr std::u16string_view kDataPathKey = u"EquipDataPath";

// The full path where the system can tell, without a trailing backslash (a drive root keeps its own), upper case.
std::u16string FolderKey(Services& services, std::u16string_view path) {
    std::u16string folder(path);
    if (auto full = services.files.FullPath(ToUtf8(path))) folder = FromUtf8(*full);
    while (folder.size() > 1 && folder.back() == u'\\' && !(folder.size() == 3 && folder[1] == u':')) folder.pop_back();
    return AsciiUpper(folder);
}

}  // namespace

CaptureFolders ReadCaptureFolders(Services& services, std::u16string_view captureName, std::u16string_view program,
                                  std::u16string_view dataPath) {
    CaptureFolders folders{std::u16string(program), std::u16string(dataPath), {}};
    if (auto value = EquipmentValue(services, captureName, u"EquipProgPathFName")) folders.program = *value;
    if (auto value = EquipmentValue(services, captureName, kDataPathKey)) folders.acquisition = *value;
    folders.review = ReviewEntryFolder(services, captureName).value_or(folders.acquisition + u"\\Data");
    return folders;
}

std::optional<std::u16string> ReviewEntryFolder(Services& services, std::u16string_view name) {
    return EquipmentValue(services, ReplaceAll(name, u"Capture", u"Review"), kDataPathKey);
}

std::u16string ReviewListFolder(Services& services, std::u16string_view reviewName, std::u16string_view dataPath) {
    std::u16string captureFolder =
        EquipmentValue(services, ReplaceAll(reviewName, u"Review", u"Capture"), kDataPathKey).value_or(u"");
    if (auto folder = EquipmentValue(services, reviewName, kDataPathKey)) return *folder;
    return dataPath.empty() ? TrimBlanks(captureFolder) + u"\\Data" : std::u16string(dataPath);
}

bool SameFolder(Services& services, std::u16string_view a, std::u16string_view b) {
    if (TrimBlanks(a).empty() || TrimBlanks(b).empty()) return false;
    return FolderKey(services, a) == FolderKey(services, b);
}

CaptureRefusal FindCaptureRefusal(Services& services, const CaptureFolders& folders,
                                  std::u16string_view programsFolder) {
    if (SameFolder(services, folders.acquisition, programsFolder)) return CaptureRefusal::kAcquisitionIsProgramsFolder;
    if (SameFolder(services, folders.review, folders.acquisition)) return CaptureRefusal::kReviewIsAcquisition;
    return CaptureRefusal::kNone;
}

std::u16string CaptureRefusalText(CaptureRefusal refusal, std::u16string_view captureName,
                                  const CaptureFolders& folders) {
    std::u16string text;
    auto entry = [&](std::u16string_view name) {
        text += u"\"";
        text += kEquipmentKeyPrefix;
        text += name;
        text += u"\"";
    };
    switch (refusal) {
        case CaptureRefusal::kAcquisitionIsProgramsFolder:
            text += u"The acquisition folder ";
            text += folders.acquisition;
            text +=
                u" is the host programs folder; a capture would move the host's own files. Set \"EquipDataPath\" "
                u"of the PXEquip.ini entry ";
            entry(captureName);
            text += u" to a folder of its own.";
            break;
        case CaptureRefusal::kReviewIsAcquisition:
            text += u"The review folder ";
            text += folders.review;
            text +=
                u" is the acquisition folder; a capture would move earlier captures again. Set \"EquipDataPath\" "
                u"of the PXEquip.ini entry ";
            entry(ReplaceAll(captureName, u"Capture", u"Review"));
            text +=
                u" to another folder, or remove it to use the acquisition folder's \"Data\" subfolder; the "
                u"acquisition folder is \"EquipDataPath\" of ";
            entry(captureName);
            text += u".";
            break;
        case CaptureRefusal::kNone:
            break;
    }
    return text;
}

}  // namespace orvanta
