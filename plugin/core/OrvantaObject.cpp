#include "OrvantaObject.h"

#include <algorithm>

#include "Catalogue.h"
#include "HostConfig.h"
#include "PluginLog.h"
#include "Text.h"
#include "VbError.h"

namespace orvanta {

bool IsDeviceFunction(std::u16string_view name) {
    return std::find(kDeviceFunctions.begin(), kDeviceFunctions.end(), name) != kDeviceFunctions.end();
}

void OrvantaObject::Initialise() { programsFolder_ = GetPraxoPath(services_); }

void OrvantaObject::LoadEquipProps(std::u16string_view name) {
    if (!IsDeviceFunction(name)) return;
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
    try {
        if (Contains(DeviceName, u"Capture")) result = CaptureDevice();
        if (Contains(DeviceName, u"Review")) result = ReviewDevice();
    } catch (...) {
        VbError error = VbError::FromCurrentException();
        std::u16string text = TrapText(u"DoDeviceFunction", error);
        WritePluginLog(services_, text);
        ReportError(services_, text, error);
    }
    return result;
}

std::u16string OrvantaObject::CaptureDevice() { throw VbError(vb::kNotSupported); }

std::u16string OrvantaObject::ReviewDevice() { throw VbError(vb::kNotSupported); }

std::int32_t OrvantaObject::NumPatientImageFiles() { throw VbError(vb::kNotSupported); }

std::u16string OrvantaObject::ParseFileName(std::u16string_view fileName, std::u16string_view folder) const {
    std::size_t underscore = fileName.find(u'_');
    std::size_t headLength = underscore == fileName.npos ? 0 : underscore + 1;
    std::u16string target(folder);
    target += u"\\";
    target += fileName.substr(0, headLength);
    target += Decimal(ExamRecNum);
    target += u"_";
    target += fileName.substr(headLength);
    return target;
}

void OrvantaObject::WriteToLog(std::u16string_view whatDoing) {
    if (!gblnShouldWriteToLog) return;
    try {
        WriteExamDataLog(services_, whatDoing);
    } catch (...) {
        ReportError(services_, u"WriteToLog", VbError::FromCurrentException());
    }
}

std::u16string OrvantaObject::FixString(std::u16string_view text) { return ReplaceAll(text, u"'", u"''"); }

}  // namespace orvanta
