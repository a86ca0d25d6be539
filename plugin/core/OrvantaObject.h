// The state and operations of one clsOrvanta object, apart from its COM shell.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Services.h"

namespace orvanta {

class OrvantaObject {
public:
    explicit OrvantaObject(Services& services) : services_(services) {}

    // Creation: reads the host programs folder (the box about praxo32.ini when it cannot).
    void Initialise();

    // Sets the equipment settings when name is one of the catalogue's device functions; otherwise nothing.
    void LoadEquipProps(std::u16string_view name);
    // Runs the capture and/or review flow that the selected name asks for; traps and reports every error.
    std::u16string DoDeviceFunction();
    std::u16string CaptureDevice();
    std::u16string ReviewDevice();
    std::int32_t NumPatientImageFiles();
    // Target path in folder for an image file name, with the exam record number after the first "_".
    std::u16string ParseFileName(std::u16string_view fileName, std::u16string_view folder) const;
    // One record in the exam-data log when gblnShouldWriteToLog is on.
    void WriteToLog(std::u16string_view whatDoing);

    // Quotes text for an SQL string literal: every apostrophe doubled.
    static std::u16string FixString(std::u16string_view text);

    const std::u16string& ProgramsFolder() const { return programsFolder_; }
    Services& services() { return services_; }

    // Plain storage, read and written through the object's properties.
    bool gblnShouldWriteToLog = false;
    std::u16string CompanyName, Model, ExamDate;
    bool UseOtherCommCtrl = false;
    bool Look4EndOfTransChar = false;
    std::u16string CharsAtEndOfData2Look4;
    std::int32_t MaxCharsFromThisDevice = 0;
    std::u16string DataSource;
    std::u16string SQLString2Execute;
    bool HaveRTSubjData = false, HaveRTFinalData = false, HaveTrailCLData = false, HavePresentingCLData = false,
         HaveKMData = false, HaveBinoVisTestData = false, HaveRMData = false, HaveRM_PD_Data = false,
         HaveLMData = false, HaveLXData = false, HaveARData = false, HaveVAAidedData = false,
         HaveVAUnAidedData = false;
    std::int16_t NumDataSegments = 0;
    std::u16string PATIENTID, LastName, FirstName, MiddleName, Gender;
    std::int32_t ExamRecNum = 0;
    std::u16string DateOfBirth, ProviderName, IrisCatagory;
    std::u16string EquipDataPath, EquipDataFileStartChars, EquipDataFileEndChars, EquipProgPathFName;
    bool UseSerialPort = false;
    bool DataIsSaved = false;
    // The selected device-function name; the interface has only a setter.
    std::u16string DeviceName;
    std::u16string LogoToolTip;

private:
    Services& services_;
    std::u16string programsFolder_;
};

}  // namespace orvanta
