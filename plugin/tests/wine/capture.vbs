' A capture as the host runs it. Arguments: the patient case (ordinary, hostile, blanks), the expected result
' text. The patient and exam are set by the case; the device function is "Capture Sorvane". (Names outside the
' code page are in capture_outside.js: Wine's VBScript has no ChrW.)
Dim o, r, n
Set o = CreateObject("Orvanta.clsOrvanta")
o.PATIENTID = "12-345"
o.LastName = "Smith"
o.FirstName = "John"
o.MiddleName = ""
o.Gender = "M"
o.DateOfBirth = "01/02/1960"
Select Case WScript.Arguments(0)
    Case "hostile"
        o.LastName = "O""Brien"
        o.FirstName = "Back\"
        o.MiddleName = "100% %PATH%"
    Case "blanks"
        o.Gender = ""
        o.DateOfBirth = "Feb 2 1960"
        o.MiddleName = " "
End Select
o.ExamRecNum = 678
o.DeviceName = "Capture Sorvane"
On Error Resume Next
r = o.DoDeviceFunction()
n = Err.Number
On Error GoTo 0
Check "DoDeviceFunction succeeds", CLng(0), n
Check "result", CStr(WScript.Arguments(1)), r
Done
