// The state and operations of one clsOrvanta object, apart from its COM shell.
//
// Every member of the _clsOrvanta interface maps to one field or method here, under the interface's name:
// stored properties and public fields are plain fields (the shell's getter reads them, its setter writes them),
// read-only constants and operations are methods. Text is UTF-16; the shell converts BSTR on the way in and out.
// A method may raise VbError; the shell turns an error that reaches it into a failing result with COM error
// information. The trapping members (DoDeviceFunction, GetPraxoDBPath, WriteToLog) never raise.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/core/Services.h"

namespace orvanta {

class Trap;

// An object reference the host assigned to one of the mobj fields. The shell derives a holder that keeps one
// counted reference and releases it in its destructor, so reassigning a field or destroying the object releases
// what the field held.
class IHostObject {
public:
    virtual ~IHostObject() = default;
};
using HostObjectRef = std::shared_ptr<IHostObject>;

class OrvantaObject {
public:
    // services must outlive the object.
    explicit OrvantaObject(Services& services) : services_(services) {}

    // Creation, after the fields took their initial values: reads the host programs folder. When praxo32.ini
    // cannot be read, shows the box about it and keeps "-3"; the object works all the same. Never raises.
    void Initialise();

    // --- Public fields (object references; the rest are below with the properties) ---
    HostObjectRef mobjPatient;
    HostObjectRef mobjKWVisTestsDataObject, mobjUAVAKWTestsDataObject, mobjRTSubjDataObject, mobjRTFinalDataObject,
        mobjTrailCLDataObject, mobjLMDataObject, mobjRMDataObject, mobjKMDataObject, mobjARDataObject, mobjVLDataObject,
        mobjLXDataObject, mobjPresentingCLDataObject;
    // Consulted by WriteToLog; set by the host only.
    bool gblnShouldWriteToLog = false;

    // --- Stored properties (get/let unless noted) ---
    std::u16string CompanyName, Model, ExamDate;
    bool UseOtherCommCtrl = false;  // get only
    bool Look4EndOfTransChar = false;
    std::u16string CharsAtEndOfData2Look4;
    std::int32_t MaxCharsFromThisDevice = 0;
    std::u16string DataSource;
    std::u16string SQLString2Execute;  // get only; nothing writes it
    bool HaveRTSubjData = false, HaveRTFinalData = false, HaveTrailCLData = false, HavePresentingCLData = false,
         HaveKMData = false, HaveBinoVisTestData = false, HaveRMData = false, HaveRM_PD_Data = false,
         HaveLMData = false, HaveLXData = false, HaveARData = false, HaveVAAidedData = false, HaveVAUnAidedData = false;
    std::int16_t NumDataSegments = 0;  // get only; nothing writes it
    std::u16string PATIENTID, LastName, FirstName, MiddleName, Gender;
    std::int32_t ExamRecNum = 0;
    std::u16string DateOfBirth, ProviderName, IrisCatagory;
    std::u16string EquipDataPath, EquipDataFileStartChars, EquipDataFileEndChars, EquipProgPathFName;
    bool UseSerialPort = false;  // get only
    bool DataIsSaved = false;
    // The selected device-function name (the DeviceName property, let only: the shell writes strOrvanta here).
    std::u16string DeviceName;
    // LogoToolTip (get only): the summary of the last NumPatientImageFiles; empty before.
    std::u16string LogoToolTip;

    // --- Read-only constants ---
    static std::u16string ConnectStringParams() { return u"me"; }
    static std::u16string CommPort() { return {}; }
    static std::u16string BaudRate() { return {}; }
    static std::u16string DataBits() { return {}; }
    static std::u16string Parity() { return {}; }
    static std::u16string StopBits() { return {}; }
    static std::u16string CommEvent() { return {}; }
    static std::u16string FirstChar() { return {}; }
    static std::u16string LastChar() { return {}; }
    static std::u16string Handshaking() { return {}; }

    // DeviceNames: the sixteen device-function names in catalogue order, anew on every call; the shell puts
    // them into a new collection without keys.
    static std::vector<std::u16string> DeviceNames();

    // --- Methods ---
    // Always empty; reads neither argument.
    static std::u16string GetIDFromEquipFName(std::u16string_view deviceName, std::u16string_view fName);
    // Sets the eight equipment settings when deviceName is exactly one of the catalogue's names; else nothing.
    void LoadEquipProps(std::u16string_view deviceName);
    // The number of the patient's entries (files and folders whose first field is the patient file key) in the
    // review entry's folder of PXEquip.ini, or in EquipDataPath as it stands; 0 when that folder does not exist.
    // Stores the folder found in EquipDataPath and leaves "Last Session: <now>  Images=<count>" in LogoToolTip.
    std::int32_t NumPatientImageFiles();
    // Runs the capture flow when DeviceName contains "Capture", then the review flow when it contains "Review";
    // the result of the last flow that ran, or empty. Traps every error: logs it to Orvanta.log, reports it, and
    // returns the result as it stood.
    std::u16string DoDeviceFunction();
    // Shows the patient's image files of the review folder in the list window, modally, and answers "Was OK"
    // when the user has closed it. The folder: the review entry's EquipDataPath, else the host programs folder
    // (LoadEquipProps), else the capture entry's EquipDataPath trimmed with "\Data".
    std::u16string ReviewDevice();
    // The capture: registers the patient by starting the registration program, asks the technician to place
    // the exported files in the acquisition folder and moves them into the review folder under the exam number.
    // "Was OK" once the program was started, empty when it is missing. Refuses, before anything is created or
    // started, an acquisition folder that is the host programs folder and a review folder that is the acquisition
    // folder; a program the shell cannot start is an error too. Traps every error: logs
    // " CaptureDevice, Err Number: n Err Description: d marker" to Orvanta.log, reports it, answers empty.
    std::u16string CaptureDevice();
    // The target path of an image file name in a folder: "folder\head" + ExamRecNum + "_tail", head being the
    // name up to and including its first "_" (empty when there is none). Touches nothing.
    std::u16string ParseFileName(std::u16string_view sFileNameStructure, std::u16string_view MoveToPath) const;
    // The host data folder, "-3" (after the box about praxo32.ini) or "-4". Never raises.
    std::u16string GetPraxoDBPath();
    // Quotes sString for an SQL string literal: every apostrophe doubled.
    static std::u16string fun_sFixString(std::u16string_view sString);
    static std::u16string FixString(std::u16string_view text) { return fun_sFixString(text); }
    // Whether PXEquip.ini asks for the exam-data log. Independent of gblnShouldWriteToLog.
    bool ShouldWriteToLog();
    // One record in KW_Orvanta.log when gblnShouldWriteToLog is on; a failure is reported, never raised.
    void WriteToLog(std::u16string_view WhatDoing);

    // The host programs folder read at creation ("-3" when unreadable).
    const std::u16string& ProgramsFolder() const { return programsFolder_; }
    // The date of the last capture, "mm/dd/yyyy" with the user's date separator.
    const std::u16string& CaptureDate() const { return captureDate_; }
    Services& services() { return services_; }

private:
    std::u16string Capture(Trap& trap);

    Services& services_;
    std::u16string programsFolder_;
    std::u16string captureDate_;
};

}  // namespace orvanta
