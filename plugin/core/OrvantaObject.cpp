#include "plugin/core/OrvantaObject.h"

#include "plugin/core/CaptureFolders.h"
#include "plugin/core/DeviceFunctions.h"
#include "plugin/core/FileLauncher.h"
#include "plugin/core/HostConfig.h"
#include "plugin/core/ImageFilesForm.h"
#include "plugin/core/ImageList.h"
#include "plugin/core/PluginLog.h"
#include "plugin/core/ReviewFolder.h"
#include "plugin/core/Text.h"
#include "plugin/core/Trap.h"
#include "plugin/core/VbError.h"

namespace orvanta {

void OrvantaObject::Initialise() { programsFolder_ = GetPraxoPath(services_); }

std::vector<std::u16string> OrvantaObject::DeviceNames() {
    return std::vector<std::u16string>(kDeviceFunctions.begin(), kDeviceFunctions.end());
}

std::u16string OrvantaObject::GetIDFromEquipFName(std::u16string_view, std::u16string_view) { return {}; }

void OrvantaObject::LoadEquipProps(std::u16string_view deviceName) {
    if (!IsDeviceFunction(deviceName)) return;
    UseSerialPort = false;
    DataSource = u"File";
    EquipProgPathFName = kRegistrationProgram;
    EquipDataPath = ReadProgramsFolder(services_);
    EquipDataFileStartChars = u"op_";
    EquipDataFileEndChars = u".jpg";
    Look4EndOfTransChar = false;
    UseOtherCommCtrl = false;
}

std::u16string OrvantaObject::DoDeviceFunction() {
    std::u16string result;
    Trap::Operation(services_, u"DoDeviceFunction").Run([&] {
        if (Contains(DeviceName, u"Capture")) result = CaptureDevice();
        if (Contains(DeviceName, u"Review")) result = ReviewDevice();
    });
    return result;
}

std::u16string OrvantaObject::ReviewDevice() {
    LoadEquipProps(DeviceName);
    if (auto folder = EquipmentValue(services_, DeviceName, u"EquipDataPath")) EquipDataPath = *folder;
    std::u16string reviewFolder = ReviewListFolder(services_, DeviceName, EquipDataPath);

    ImageFilesForm form(services_);
    form.StartLoadGrid(PatientFileKey(PATIENTID), reviewFolder);
    services_.imageFilesWindow.ShowModalFilling(form);
    return std::u16string(kWasOk);
}

std::int32_t OrvantaObject::NumPatientImageFiles() {
    GetPraxoDBPath();  // only for its box when praxo32.ini lacks the data folder
    if (auto folder = ReviewEntryFolder(services_, DeviceName)) EquipDataPath = *folder;
    std::u16string key = PatientFileKey(PATIENTID);
    std::int32_t count = 0;
    if (FolderExists(services_, EquipDataPath))
        for (const std::u16string& name : ListReviewEntries(services_, PatientFilePattern(EquipDataPath, key)))
            if (IsPatientFile(name, key)) ++count;
    LogoToolTip =
        u"Last Session: " + services_.dates.GeneralDate(services_.clock.LocalNow()) + u"  Images=" + Decimal(count);
    return count;
}

std::u16string OrvantaObject::ParseFileName(std::u16string_view sFileNameStructure,
                                            std::u16string_view MoveToPath) const {
    std::size_t underscore = sFileNameStructure.find(u'_');
    std::size_t headLength = underscore == sFileNameStructure.npos ? 0 : underscore + 1;
    std::u16string target(MoveToPath);
    target += u"\\";
    target += sFileNameStructure.substr(0, headLength);
    target += Decimal(ExamRecNum);
    target += u"_";
    target += sFileNameStructure.substr(headLength);
    return target;
}

std::u16string OrvantaObject::GetPraxoDBPath() { return orvanta::GetPraxoDBPath(services_); }

bool OrvantaObject::ShouldWriteToLog() { return orvanta::ShouldWriteToLog(services_); }

void OrvantaObject::WriteToLog(std::u16string_view WhatDoing) {
    if (!gblnShouldWriteToLog) return;
    Trap::Reporting(services_, [](int) { return u"WriteToLog"; }).Run([&] { WriteExamDataLog(services_, WhatDoing); });
}

std::u16string OrvantaObject::fun_sFixString(std::u16string_view sString) { return ReplaceAll(sString, u"'", u"''"); }

}  // namespace orvanta
