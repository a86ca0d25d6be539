' Every writable member keeps what was written. Setters that take their value by reference get literals and
' expressions, as VBScript can pass them; object fields are assigned with Set.
Dim o, other, word, d1, d2, source, n

Set o = CreateObject("Orvanta.clsOrvanta")
word = "w" & Chr(233)
Set d1 = CreateObject("Scripting.Dictionary")
Set d2 = CreateObject("Scripting.Dictionary")
d1.Add "k", "first"
d2.Add "k", "second"

o.CompanyName = "CompanyName 1"
o.CompanyName = o.CompanyName & "+" & word
Check "CompanyName from a literal and an expression", "CompanyName 1+" & word, o.CompanyName
o.Model = "Model 1"
o.Model = o.Model & "+" & word
Check "Model from a literal and an expression", "Model 1+" & word, o.Model
o.ExamDate = "ExamDate 1"
o.ExamDate = o.ExamDate & "+" & word
Check "ExamDate from a literal and an expression", "ExamDate 1+" & word, o.ExamDate
o.CharsAtEndOfData2Look4 = "CharsAtEndOfData2Look4 1"
o.CharsAtEndOfData2Look4 = o.CharsAtEndOfData2Look4 & "+" & word
Check "CharsAtEndOfData2Look4 from a literal and an expression", "CharsAtEndOfData2Look4 1+" & word, o.CharsAtEndOfData2Look4
o.DataSource = "DataSource 1"
o.DataSource = o.DataSource & "+" & word
Check "DataSource from a literal and an expression", "DataSource 1+" & word, o.DataSource
o.PATIENTID = "PATIENTID 1"
o.PATIENTID = o.PATIENTID & "+" & word
Check "PATIENTID from a literal and an expression", "PATIENTID 1+" & word, o.PATIENTID
o.LastName = "LastName 1"
o.LastName = o.LastName & "+" & word
Check "LastName from a literal and an expression", "LastName 1+" & word, o.LastName
o.FirstName = "FirstName 1"
o.FirstName = o.FirstName & "+" & word
Check "FirstName from a literal and an expression", "FirstName 1+" & word, o.FirstName
o.MiddleName = "MiddleName 1"
o.MiddleName = o.MiddleName & "+" & word
Check "MiddleName from a literal and an expression", "MiddleName 1+" & word, o.MiddleName
o.Gender = "Gender 1"
o.Gender = o.Gender & "+" & word
Check "Gender from a literal and an expression", "Gender 1+" & word, o.Gender
o.DateOfBirth = "DateOfBirth 1"
o.DateOfBirth = o.DateOfBirth & "+" & word
Check "DateOfBirth from a literal and an expression", "DateOfBirth 1+" & word, o.DateOfBirth
o.ProviderName = "ProviderName 1"
o.ProviderName = o.ProviderName & "+" & word
Check "ProviderName from a literal and an expression", "ProviderName 1+" & word, o.ProviderName
o.IrisCatagory = "IrisCatagory 1"
o.IrisCatagory = o.IrisCatagory & "+" & word
Check "IrisCatagory from a literal and an expression", "IrisCatagory 1+" & word, o.IrisCatagory
o.EquipDataPath = "EquipDataPath 1"
o.EquipDataPath = o.EquipDataPath & "+" & word
Check "EquipDataPath from a literal and an expression", "EquipDataPath 1+" & word, o.EquipDataPath
o.EquipDataFileStartChars = "EquipDataFileStartChars 1"
o.EquipDataFileStartChars = o.EquipDataFileStartChars & "+" & word
Check "EquipDataFileStartChars from a literal and an expression", "EquipDataFileStartChars 1+" & word, o.EquipDataFileStartChars
o.EquipDataFileEndChars = "EquipDataFileEndChars 1"
o.EquipDataFileEndChars = o.EquipDataFileEndChars & "+" & word
Check "EquipDataFileEndChars from a literal and an expression", "EquipDataFileEndChars 1+" & word, o.EquipDataFileEndChars
o.EquipProgPathFName = "EquipProgPathFName 1"
o.EquipProgPathFName = o.EquipProgPathFName & "+" & word
Check "EquipProgPathFName from a literal and an expression", "EquipProgPathFName 1+" & word, o.EquipProgPathFName
o.gblnShouldWriteToLog = True
Check "gblnShouldWriteToLog True", True, o.gblnShouldWriteToLog
o.gblnShouldWriteToLog = Not o.gblnShouldWriteToLog
Check "gblnShouldWriteToLog back to False", False, o.gblnShouldWriteToLog
o.Look4EndOfTransChar = True
Check "Look4EndOfTransChar True", True, o.Look4EndOfTransChar
o.Look4EndOfTransChar = Not o.Look4EndOfTransChar
Check "Look4EndOfTransChar back to False", False, o.Look4EndOfTransChar
o.HaveRTSubjData = True
Check "HaveRTSubjData True", True, o.HaveRTSubjData
o.HaveRTSubjData = Not o.HaveRTSubjData
Check "HaveRTSubjData back to False", False, o.HaveRTSubjData
o.HaveRTFinalData = True
Check "HaveRTFinalData True", True, o.HaveRTFinalData
o.HaveRTFinalData = Not o.HaveRTFinalData
Check "HaveRTFinalData back to False", False, o.HaveRTFinalData
o.HaveTrailCLData = True
Check "HaveTrailCLData True", True, o.HaveTrailCLData
o.HaveTrailCLData = Not o.HaveTrailCLData
Check "HaveTrailCLData back to False", False, o.HaveTrailCLData
o.HavePresentingCLData = True
Check "HavePresentingCLData True", True, o.HavePresentingCLData
o.HavePresentingCLData = Not o.HavePresentingCLData
Check "HavePresentingCLData back to False", False, o.HavePresentingCLData
o.HaveKMData = True
Check "HaveKMData True", True, o.HaveKMData
o.HaveKMData = Not o.HaveKMData
Check "HaveKMData back to False", False, o.HaveKMData
o.HaveBinoVisTestData = True
Check "HaveBinoVisTestData True", True, o.HaveBinoVisTestData
o.HaveBinoVisTestData = Not o.HaveBinoVisTestData
Check "HaveBinoVisTestData back to False", False, o.HaveBinoVisTestData
o.HaveRMData = True
Check "HaveRMData True", True, o.HaveRMData
o.HaveRMData = Not o.HaveRMData
Check "HaveRMData back to False", False, o.HaveRMData
o.HaveRM_PD_Data = True
Check "HaveRM_PD_Data True", True, o.HaveRM_PD_Data
o.HaveRM_PD_Data = Not o.HaveRM_PD_Data
Check "HaveRM_PD_Data back to False", False, o.HaveRM_PD_Data
o.HaveLMData = True
Check "HaveLMData True", True, o.HaveLMData
o.HaveLMData = Not o.HaveLMData
Check "HaveLMData back to False", False, o.HaveLMData
o.HaveLXData = True
Check "HaveLXData True", True, o.HaveLXData
o.HaveLXData = Not o.HaveLXData
Check "HaveLXData back to False", False, o.HaveLXData
o.HaveARData = True
Check "HaveARData True", True, o.HaveARData
o.HaveARData = Not o.HaveARData
Check "HaveARData back to False", False, o.HaveARData
o.HaveVAAidedData = True
Check "HaveVAAidedData True", True, o.HaveVAAidedData
o.HaveVAAidedData = Not o.HaveVAAidedData
Check "HaveVAAidedData back to False", False, o.HaveVAAidedData
o.HaveVAUnAidedData = True
Check "HaveVAUnAidedData True", True, o.HaveVAUnAidedData
o.HaveVAUnAidedData = Not o.HaveVAUnAidedData
Check "HaveVAUnAidedData back to False", False, o.HaveVAUnAidedData
o.DataIsSaved = True
Check "DataIsSaved True", True, o.DataIsSaved
o.DataIsSaved = Not o.DataIsSaved
Check "DataIsSaved back to False", False, o.DataIsSaved
o.MaxCharsFromThisDevice = -5
o.MaxCharsFromThisDevice = o.MaxCharsFromThisDevice * 2
Check "MaxCharsFromThisDevice from an expression", CLng(-10), o.MaxCharsFromThisDevice
o.ExamRecNum = -5
o.ExamRecNum = o.ExamRecNum * 2
Check "ExamRecNum from an expression", CLng(-10), o.ExamRecNum
Set o.mobjPatient = d1
CheckTrue "mobjPatient holds the object set", o.mobjPatient Is d1
Set o.mobjPatient = d2
Check "mobjPatient after reassignment", "second", o.mobjPatient.Item("k")
Set o.mobjPatient = Nothing
CheckTrue "mobjPatient back to Nothing", o.mobjPatient Is Nothing
Set o.mobjKWVisTestsDataObject = d1
CheckTrue "mobjKWVisTestsDataObject holds the object set", o.mobjKWVisTestsDataObject Is d1
Set o.mobjKWVisTestsDataObject = d2
Check "mobjKWVisTestsDataObject after reassignment", "second", o.mobjKWVisTestsDataObject.Item("k")
Set o.mobjKWVisTestsDataObject = Nothing
CheckTrue "mobjKWVisTestsDataObject back to Nothing", o.mobjKWVisTestsDataObject Is Nothing
Set o.mobjUAVAKWTestsDataObject = d1
CheckTrue "mobjUAVAKWTestsDataObject holds the object set", o.mobjUAVAKWTestsDataObject Is d1
Set o.mobjUAVAKWTestsDataObject = d2
Check "mobjUAVAKWTestsDataObject after reassignment", "second", o.mobjUAVAKWTestsDataObject.Item("k")
Set o.mobjUAVAKWTestsDataObject = Nothing
CheckTrue "mobjUAVAKWTestsDataObject back to Nothing", o.mobjUAVAKWTestsDataObject Is Nothing
Set o.mobjRTSubjDataObject = d1
CheckTrue "mobjRTSubjDataObject holds the object set", o.mobjRTSubjDataObject Is d1
Set o.mobjRTSubjDataObject = d2
Check "mobjRTSubjDataObject after reassignment", "second", o.mobjRTSubjDataObject.Item("k")
Set o.mobjRTSubjDataObject = Nothing
CheckTrue "mobjRTSubjDataObject back to Nothing", o.mobjRTSubjDataObject Is Nothing
Set o.mobjRTFinalDataObject = d1
CheckTrue "mobjRTFinalDataObject holds the object set", o.mobjRTFinalDataObject Is d1
Set o.mobjRTFinalDataObject = d2
Check "mobjRTFinalDataObject after reassignment", "second", o.mobjRTFinalDataObject.Item("k")
Set o.mobjRTFinalDataObject = Nothing
CheckTrue "mobjRTFinalDataObject back to Nothing", o.mobjRTFinalDataObject Is Nothing
Set o.mobjTrailCLDataObject = d1
CheckTrue "mobjTrailCLDataObject holds the object set", o.mobjTrailCLDataObject Is d1
Set o.mobjTrailCLDataObject = d2
Check "mobjTrailCLDataObject after reassignment", "second", o.mobjTrailCLDataObject.Item("k")
Set o.mobjTrailCLDataObject = Nothing
CheckTrue "mobjTrailCLDataObject back to Nothing", o.mobjTrailCLDataObject Is Nothing
Set o.mobjLMDataObject = d1
CheckTrue "mobjLMDataObject holds the object set", o.mobjLMDataObject Is d1
Set o.mobjLMDataObject = d2
Check "mobjLMDataObject after reassignment", "second", o.mobjLMDataObject.Item("k")
Set o.mobjLMDataObject = Nothing
CheckTrue "mobjLMDataObject back to Nothing", o.mobjLMDataObject Is Nothing
Set o.mobjRMDataObject = d1
CheckTrue "mobjRMDataObject holds the object set", o.mobjRMDataObject Is d1
Set o.mobjRMDataObject = d2
Check "mobjRMDataObject after reassignment", "second", o.mobjRMDataObject.Item("k")
Set o.mobjRMDataObject = Nothing
CheckTrue "mobjRMDataObject back to Nothing", o.mobjRMDataObject Is Nothing
Set o.mobjKMDataObject = d1
CheckTrue "mobjKMDataObject holds the object set", o.mobjKMDataObject Is d1
Set o.mobjKMDataObject = d2
Check "mobjKMDataObject after reassignment", "second", o.mobjKMDataObject.Item("k")
Set o.mobjKMDataObject = Nothing
CheckTrue "mobjKMDataObject back to Nothing", o.mobjKMDataObject Is Nothing
Set o.mobjARDataObject = d1
CheckTrue "mobjARDataObject holds the object set", o.mobjARDataObject Is d1
Set o.mobjARDataObject = d2
Check "mobjARDataObject after reassignment", "second", o.mobjARDataObject.Item("k")
Set o.mobjARDataObject = Nothing
CheckTrue "mobjARDataObject back to Nothing", o.mobjARDataObject Is Nothing
Set o.mobjVLDataObject = d1
CheckTrue "mobjVLDataObject holds the object set", o.mobjVLDataObject Is d1
Set o.mobjVLDataObject = d2
Check "mobjVLDataObject after reassignment", "second", o.mobjVLDataObject.Item("k")
Set o.mobjVLDataObject = Nothing
CheckTrue "mobjVLDataObject back to Nothing", o.mobjVLDataObject Is Nothing
Set o.mobjLXDataObject = d1
CheckTrue "mobjLXDataObject holds the object set", o.mobjLXDataObject Is d1
Set o.mobjLXDataObject = d2
Check "mobjLXDataObject after reassignment", "second", o.mobjLXDataObject.Item("k")
Set o.mobjLXDataObject = Nothing
CheckTrue "mobjLXDataObject back to Nothing", o.mobjLXDataObject Is Nothing
Set o.mobjPresentingCLDataObject = d1
CheckTrue "mobjPresentingCLDataObject holds the object set", o.mobjPresentingCLDataObject Is d1
Set o.mobjPresentingCLDataObject = d2
Check "mobjPresentingCLDataObject after reassignment", "second", o.mobjPresentingCLDataObject.Item("k")
Set o.mobjPresentingCLDataObject = Nothing
CheckTrue "mobjPresentingCLDataObject back to Nothing", o.mobjPresentingCLDataObject Is Nothing

' Values of other types are converted on the way in, as the type library says.
o.ExamRecNum = "42"
Check "ExamRecNum from a text", CLng(42), o.ExamRecNum
o.MaxCharsFromThisDevice = CInt(7)
Check "MaxCharsFromThisDevice from a 16-bit integer", CLng(7), o.MaxCharsFromThisDevice
o.HaveKMData = 1
Check "HaveKMData from 1 is True", True, o.HaveKMData
o.PATIENTID = 123
Check "PATIENTID from a number", "123", o.PATIENTID
On Error Resume Next
o.ExamRecNum = "not a number"
n = Err.Number
On Error GoTo 0
Check "ExamRecNum from a word fails with Type mismatch", CLng(13), n
Check "ExamRecNum unchanged by the failed assignment", CLng(42), o.ExamRecNum

' A setter copies: changing the variable afterwards leaves the property alone.
source = "Smith"
o.LastName = CStr(source)
source = "Jones"
Check "LastName holds a copy", "Smith", o.LastName
Check "the variable itself", "Jones", source

' The object keeps its own reference: the host may drop its variable.
Set o.mobjPatient = CreateObject("Scripting.Dictionary")
o.mobjPatient.Add "id", "P-1"
Check "object kept without a host variable", "P-1", o.mobjPatient.Item("id")

' The selected device-function name takes any text.
o.DeviceName = "Capture Sorvane"
o.DeviceName = "no such device " & word
o.DeviceName = ""

' Read-only members refuse writing; the values stay.
On Error Resume Next
o.UseSerialPort = True
CheckTrue "writing UseSerialPort fails", Err.Number <> 0
Err.Clear
o.UseOtherCommCtrl = True
CheckTrue "writing UseOtherCommCtrl fails", Err.Number <> 0
Err.Clear
o.ConnectStringParams = "you"
CheckTrue "writing ConnectStringParams fails", Err.Number <> 0
Err.Clear
o.SQLString2Execute = "SELECT 1"
CheckTrue "writing SQLString2Execute fails", Err.Number <> 0
Err.Clear
o.NumDataSegments = 3
CheckTrue "writing NumDataSegments fails", Err.Number <> 0
Err.Clear
o.CommPort = "COM1"
CheckTrue "writing CommPort fails", Err.Number <> 0
Err.Clear
o.LogoToolTip = "tip"
CheckTrue "writing LogoToolTip fails", Err.Number <> 0
Err.Clear
On Error GoTo 0
Check "ConnectStringParams still me", "me", o.ConnectStringParams
Check "UseSerialPort still False", False, o.UseSerialPort
Check "CommPort still empty", "", o.CommPort
Check "NumDataSegments still 0", CInt(0), o.NumDataSegments

' Two objects do not share state.
Set other = CreateObject("Orvanta.clsOrvanta")
Check "second object has its own PATIENTID", "", other.PATIENTID
other.ExamRecNum = 99
Check "first object keeps its ExamRecNum", CLng(42), o.ExamRecNum
Done
