' A fresh object as the host finds it: every readable member at its initial value, with its automation type.
Dim o, v, n
Set o = CreateObject("Orvanta.clsOrvanta")
CheckTrue "an object", IsObject(o)
CheckTrue "mobjPatient is Nothing", o.mobjPatient Is Nothing
CheckTrue "mobjKWVisTestsDataObject is Nothing", o.mobjKWVisTestsDataObject Is Nothing
CheckTrue "mobjUAVAKWTestsDataObject is Nothing", o.mobjUAVAKWTestsDataObject Is Nothing
CheckTrue "mobjRTSubjDataObject is Nothing", o.mobjRTSubjDataObject Is Nothing
CheckTrue "mobjRTFinalDataObject is Nothing", o.mobjRTFinalDataObject Is Nothing
CheckTrue "mobjTrailCLDataObject is Nothing", o.mobjTrailCLDataObject Is Nothing
CheckTrue "mobjLMDataObject is Nothing", o.mobjLMDataObject Is Nothing
CheckTrue "mobjRMDataObject is Nothing", o.mobjRMDataObject Is Nothing
CheckTrue "mobjKMDataObject is Nothing", o.mobjKMDataObject Is Nothing
CheckTrue "mobjARDataObject is Nothing", o.mobjARDataObject Is Nothing
CheckTrue "mobjVLDataObject is Nothing", o.mobjVLDataObject Is Nothing
CheckTrue "mobjLXDataObject is Nothing", o.mobjLXDataObject Is Nothing
CheckTrue "mobjPresentingCLDataObject is Nothing", o.mobjPresentingCLDataObject Is Nothing
Check "gblnShouldWriteToLog", False, o.gblnShouldWriteToLog
Check "Look4EndOfTransChar", False, o.Look4EndOfTransChar
Check "HaveRTSubjData", False, o.HaveRTSubjData
Check "HaveRTFinalData", False, o.HaveRTFinalData
Check "HaveTrailCLData", False, o.HaveTrailCLData
Check "HavePresentingCLData", False, o.HavePresentingCLData
Check "HaveKMData", False, o.HaveKMData
Check "HaveBinoVisTestData", False, o.HaveBinoVisTestData
Check "HaveRMData", False, o.HaveRMData
Check "HaveRM_PD_Data", False, o.HaveRM_PD_Data
Check "HaveLMData", False, o.HaveLMData
Check "HaveLXData", False, o.HaveLXData
Check "HaveARData", False, o.HaveARData
Check "HaveVAAidedData", False, o.HaveVAAidedData
Check "HaveVAUnAidedData", False, o.HaveVAUnAidedData
Check "DataIsSaved", False, o.DataIsSaved
Check "UseOtherCommCtrl", False, o.UseOtherCommCtrl
Check "UseSerialPort", False, o.UseSerialPort
Check "CompanyName", "", o.CompanyName
Check "Model", "", o.Model
Check "ExamDate", "", o.ExamDate
Check "CharsAtEndOfData2Look4", "", o.CharsAtEndOfData2Look4
Check "DataSource", "", o.DataSource
Check "PATIENTID", "", o.PATIENTID
Check "LastName", "", o.LastName
Check "FirstName", "", o.FirstName
Check "MiddleName", "", o.MiddleName
Check "Gender", "", o.Gender
Check "DateOfBirth", "", o.DateOfBirth
Check "ProviderName", "", o.ProviderName
Check "IrisCatagory", "", o.IrisCatagory
Check "EquipDataPath", "", o.EquipDataPath
Check "EquipDataFileStartChars", "", o.EquipDataFileStartChars
Check "EquipDataFileEndChars", "", o.EquipDataFileEndChars
Check "EquipProgPathFName", "", o.EquipProgPathFName
Check "SQLString2Execute", "", o.SQLString2Execute
Check "CommPort", "", o.CommPort
Check "BaudRate", "", o.BaudRate
Check "DataBits", "", o.DataBits
Check "Parity", "", o.Parity
Check "StopBits", "", o.StopBits
Check "CommEvent", "", o.CommEvent
Check "FirstChar", "", o.FirstChar
Check "LastChar", "", o.LastChar
Check "Handshaking", "", o.Handshaking
Check "LogoToolTip", "", o.LogoToolTip
Check "MaxCharsFromThisDevice", CLng(0), o.MaxCharsFromThisDevice
Check "ExamRecNum", CLng(0), o.ExamRecNum
Check "NumDataSegments", CInt(0), o.NumDataSegments
Check "ConnectStringParams", "me", o.ConnectStringParams
Check "DeviceNames.Count", CLng(16), o.DeviceNames.Count

' DeviceName has a setter only.
On Error Resume Next
v = o.DeviceName
n = Err.Number
On Error GoTo 0
CheckTrue "reading DeviceName fails", n <> 0
Done
