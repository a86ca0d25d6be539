// Each configured device function: its folders and registration program, as the capture and the review find them.
#include "check/core/SiteChecks.h"
#include "enrolix/core/Maintenance.h"
#include "plugin/core/CaptureFolders.h"
#include "plugin/core/DeviceFunctions.h"
#include "plugin/core/HostConfig.h"
#include "plugin/core/ReviewFolder.h"
#include "plugin/core/Text.h"
#include "plugin/core/VbError.h"

namespace orvanta::check {

namespace {

std::string Ansi(Site& site, std::u16string_view text) { return site.plugin.locale.ToAnsi(text); }

bool HasEntry(Site& site, std::u16string_view name) {
    try {
        return FindEquipmentNumber(site.plugin, std::u16string(kEquipmentKeyPrefix) + std::u16string(name)) != 0;
    } catch (const VbError&) {
        return true;  // configured, but unusable: the model's row says so
    }
}

// A folder the capture creates when it is missing (one level: its parent must exist, or be created first).
void CheckCaptureFolder(Site& site, CheckReport& report, std::string name, const std::string& folder,
                        const std::string& createdBefore, const std::string& advice) {
    if (IsFolder(site, folder)) {
        if (site.probe.CanAddFiles(folder))
            report.Add(kDeviceArea, std::move(name), State::Ok, folder);
        else
            report.Add(kDeviceArea, std::move(name), State::Fail, folder + " is not writable",
                       "Let the clinic's users create and delete files in " + folder + ".");
        return;
    }
    const std::string parent = enrolix::GetFolderOfPath(folder);
    if (IsFolder(site, parent) ||
        (!createdBefore.empty() &&
         SameFolder(site.plugin, site.plugin.locale.FromAnsi(parent), site.plugin.locale.FromAnsi(createdBefore))))
        report.Add(kDeviceArea, std::move(name), State::Ok, folder + " (created by the first capture)");
    else
        report.Add(kDeviceArea, std::move(name), State::Fail, folder + " cannot be created: " + parent + " is missing",
                   advice);
}

// A review configured without its capture: only the folder it lists.
void CheckReviewOnly(Site& site, CheckReport& report, std::u16string_view reviewName) {
    const std::string listed = Ansi(site, ReviewListFolder(site.plugin, reviewName, ReadProgramsFolder(site.plugin)));
    const std::string name = Ansi(site, reviewName) + ": listed folder";
    if (IsFolder(site, listed))
        report.Add(kDeviceArea, name, State::Ok, listed);
    else
        report.Add(kDeviceArea, name, State::Warn, listed + " does not exist",
                   "Set EquipDataPath of the review entry Orvanta:" + Ansi(site, reviewName) +
                       " to the folder that holds the images.");
}

void CheckModel(Site& site, CheckReport& report, std::u16string_view captureName, std::u16string_view reviewName) {
    const std::u16string programs = ReadProgramsFolder(site.plugin);
    const std::string capture = Ansi(site, captureName);
    const std::string review = Ansi(site, reviewName);
    const std::string captureEntry = "the PXEquip.ini section of Orvanta:" + capture;
    const CaptureFolders folders = ReadCaptureFolders(site.plugin, captureName, kRegistrationProgram, programs);
    const std::string acquisition = Ansi(site, folders.acquisition);
    const std::string reviewFolder = Ansi(site, folders.review);

    const bool acquisitionConfigured = EquipmentValue(site.plugin, captureName, u"EquipDataPath").has_value();
    const CaptureRefusal refusal = FindCaptureRefusal(site.plugin, folders, programs);
    if (!acquisitionConfigured) {
        report.Add(kDeviceArea, capture + ": acquisition folder", State::Fail,
                   "not configured: the capture would take " + (acquisition.empty() ? "no folder" : acquisition),
                   "Set EquipDataPath in " + captureEntry + " to the folder the technician exports into.");
    } else if (refusal == CaptureRefusal::kAcquisitionIsProgramsFolder) {
        report.Add(kDeviceArea, capture + ": acquisition folder", State::Fail,
                   acquisition + " is the host programs folder",
                   Ansi(site, CaptureRefusalText(refusal, captureName, folders)));
    } else {
        CheckCaptureFolder(
            site, report, capture + ": acquisition folder", acquisition, {},
            "Create the parent folder, or set EquipDataPath in " + captureEntry + " to a folder whose parent exists.");
    }

    if (refusal == CaptureRefusal::kReviewIsAcquisition) {
        report.Add(kDeviceArea, capture + ": review folder", State::Fail, reviewFolder + " is the acquisition folder",
                   Ansi(site, CaptureRefusalText(refusal, captureName, folders)));
    } else {
        CheckCaptureFolder(site, report, capture + ": review folder", reviewFolder, acquisition,
                           "Create the parent folder, or set EquipDataPath of the review entry Orvanta:" + review +
                               " to a folder whose parent exists.");
    }

    const std::u16string listed = ReviewListFolder(site.plugin, reviewName, programs);
    if (SameFolder(site.plugin, listed, folders.review))
        report.Add(kDeviceArea, review + ": listed folder", State::Ok, Ansi(site, listed));
    else
        report.Add(kDeviceArea, review + ": listed folder", State::Warn,
                   Ansi(site, listed) + ", but the capture fills " + reviewFolder,
                   "Add the review entry Orvanta:" + review + " to PXEquip.ini with EquipDataPath=" + reviewFolder +
                       ", so that the review lists the captured images.");

    const std::string program = Ansi(site, folders.program);
    const std::string workingFolder = enrolix::GetFolderOfPath(program);
    if (!IsFile(site, program))
        report.Add(kDeviceArea, capture + ": registration program", State::Fail, program + " not found",
                   "Install Enrolix.exe there, or set EquipProgPathFName in " + captureEntry +
                       " to the installed program (the capture says \"File Not Found\").");
    else
        report.Add(kDeviceArea, capture + ": registration program", State::Ok,
                   program + " (working folder " + workingFolder + ")");
}

}  // namespace

void CheckDeviceFunctions(Site& site, CheckReport& report) {
    bool any = false;
    for (std::size_t i = 0; i + 1 < kDeviceFunctions.size(); i += 2) {
        const bool captureListed = HasEntry(site, kDeviceFunctions[i]);
        if (!captureListed && !HasEntry(site, kDeviceFunctions[i + 1])) continue;
        any = true;
        try {
            if (captureListed)
                CheckModel(site, report, kDeviceFunctions[i], kDeviceFunctions[i + 1]);
            else
                CheckReviewOnly(site, report, kDeviceFunctions[i + 1]);
        } catch (const VbError& e) {
            report.Add(kDeviceArea, Ansi(site, kDeviceFunctions[i]), State::Fail,
                       "the equipment lookup raises \"" + Ansi(site, e.Description()) + "\"",
                       "Mend the equipment list of PXEquip.ini as the host files rows say.");
        }
    }
    if (!any)
        report.Add(kDeviceArea, "Configured device functions", State::Warn, "none in PXEquip.ini",
                   "List each capture and review of the workstation in [Equipment] of PXEquip.ini.");
}

}  // namespace orvanta::check
