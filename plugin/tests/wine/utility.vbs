' The utility members, the catalogue and LoadEquipProps. Argument: the host programs folder of praxo32.ini.
Dim o, programs, names, c1, c2, item, i, n, d, r, name
programs = WScript.Arguments(0)
Set o = CreateObject("Orvanta.clsOrvanta")

' Quoting for SQL literals.
Check "fun_sFixString O'Brien", "O''Brien", o.fun_sFixString("O'Brien")
Check "fun_sFixString two apostrophes", "a''''b", o.fun_sFixString("a''b")
Check "fun_sFixString only apostrophes", "''''''", o.fun_sFixString("'''")
Check "fun_sFixString at both ends", "''x''", o.fun_sFixString("'x'")
Check "fun_sFixString without apostrophes", "Smith", o.fun_sFixString("Smith")
Check "fun_sFixString empty", "", o.fun_sFixString("")
Check "fun_sFixString other quote marks untouched", "a" & Chr(180) & "b""c", o.fun_sFixString("a" & Chr(180) & "b""c")
Check "fun_sFixString of an expression", "D''Arcy D''Arcy", o.fun_sFixString("D'Arcy" & " " & "D'Arcy")

Check "GetIDFromEquipFName", "", o.GetIDFromEquipFName("Capture Sorvane", "C:\SCANSUITE\bin\Enrolix.exe")
Check "GetIDFromEquipFName empty", "", o.GetIDFromEquipFName("", "")
Check "ConnectStringParams", "me", o.ConnectStringParams

' The catalogue.
names = Array("Capture VexaFyndra", "Review VexaFyndra", "Capture Sorvane", "Review Sorvane", "Capture Belcor", _
    "Review Belcor", "Capture Trelly", "Review Trelly", "Capture Fyndra", "Review Fyndra", "Capture Ospen", _
    "Review Ospen", "Capture Halvery", "Review Halvery", "Capture Pendro", "Review Pendro")
Set c1 = o.DeviceNames
Check "DeviceNames.Count", CLng(16), c1.Count
Check "DeviceNames.Item(1)", "Capture VexaFyndra", c1.Item(1)
Check "DeviceNames.Item(16)", "Review Pendro", c1.Item(16)
Check "DeviceNames(3), the default member", "Capture Sorvane", c1(3)
i = 0
For Each item In c1
    If i <= 15 Then Check "For Each entry " & (i + 1), names(i), item
    i = i + 1
Next
Check "For Each count", 16, i
For Each n In Array(0, 17)
    On Error Resume Next
    item = c1.Item(n)
    d = Err.Number
    On Error GoTo 0
    CheckTrue "DeviceNames.Item(" & n & ") fails", d <> 0
Next
On Error Resume Next
item = c1.Item("Capture Sorvane")
d = Err.Number
On Error GoTo 0
CheckTrue "DeviceNames has no keys", d <> 0

' Every read is a collection of its own.
Set c2 = o.DeviceNames
CheckTrue "two reads, two collections", Not (c1 Is c2)
c1.Add "Capture Elsewhere"
c2.Remove 1
c2.Remove 1
Check "first after Add", CLng(17), c1.Count
Check "first keeps its entry 1", "Capture VexaFyndra", c1.Item(1)
Check "added entry", "Capture Elsewhere", c1.Item(17)
Check "second after two Removes", CLng(14), c2.Count
Check "second starts at entry 3", "Capture Sorvane", c2.Item(1)
Check "a new read is untouched", CLng(16), o.DeviceNames.Count
Check "a new read starts as ever", "Capture VexaFyndra", o.DeviceNames.Item(1)
Set c1 = Nothing
Set c2 = Nothing

' LoadEquipProps with each catalogue entry sets the same eight values, overwriting the host's.
For Each name In names
    o.DataSource = "ADO"
    o.EquipProgPathFName = "C:\other.exe"
    o.EquipDataPath = "C:\elsewhere"
    o.EquipDataFileStartChars = "zz"
    o.EquipDataFileEndChars = ".tif"
    o.Look4EndOfTransChar = True
    o.LoadEquipProps CStr(name)
    Check name & ": DataSource", "File", o.DataSource
    Check name & ": EquipProgPathFName", "C:\SCANSUITE\bin\Enrolix.exe", o.EquipProgPathFName
    Check name & ": EquipDataPath", programs, o.EquipDataPath
    Check name & ": EquipDataFileStartChars", "op_", o.EquipDataFileStartChars
    Check name & ": EquipDataFileEndChars", ".jpg", o.EquipDataFileEndChars
    Check name & ": Look4EndOfTransChar", False, o.Look4EndOfTransChar
    Check name & ": UseSerialPort", False, o.UseSerialPort
    Check name & ": UseOtherCommCtrl", False, o.UseOtherCommCtrl
Next

' Names that are not entries change nothing.
For Each name In Array("capture sorvane", "Capture Sorvane ", " Capture Sorvane", "capture Sorvane", _
        "Capture", "Capture Otherco", "", "CAPTURE SORVANE")
    o.DataSource = "ADO"
    o.EquipProgPathFName = "C:\other.exe"
    o.EquipDataPath = "C:\elsewhere"
    o.EquipDataFileStartChars = "zz"
    o.EquipDataFileEndChars = ".tif"
    o.Look4EndOfTransChar = True
    o.LoadEquipProps CStr(name)
    Check "[" & name & "]: DataSource", "ADO", o.DataSource
    Check "[" & name & "]: EquipProgPathFName", "C:\other.exe", o.EquipProgPathFName
    Check "[" & name & "]: EquipDataPath", "C:\elsewhere", o.EquipDataPath
    Check "[" & name & "]: EquipDataFileStartChars", "zz", o.EquipDataFileStartChars
    Check "[" & name & "]: EquipDataFileEndChars", ".tif", o.EquipDataFileEndChars
    Check "[" & name & "]: Look4EndOfTransChar", True, o.Look4EndOfTransChar
Next
' Nothing else is touched.
o.PATIENTID = "P-9"
o.ExamRecNum = 5
o.CompanyName = "Maker"
o.LoadEquipProps "Review Halvery"
Check "PATIENTID untouched", "P-9", o.PATIENTID
Check "ExamRecNum untouched", CLng(5), o.ExamRecNum
Check "CompanyName untouched", "Maker", o.CompanyName
Check "LogoToolTip untouched", "", o.LogoToolTip
Check "ConnectStringParams after LoadEquipProps", "me", o.ConnectStringParams

' A name that selects no flow does nothing and answers empty.
Check "DoDeviceFunction with no name", "", o.DoDeviceFunction()
o.DeviceName = "Something else"
Check "DoDeviceFunction with a name without a flow", "", o.DoDeviceFunction()
o.DeviceName = "capture Sorvane"
Check "DoDeviceFunction with capture in lower case", "", o.DoDeviceFunction()

' ParseFileName wants a text: an array is a type mismatch, raised to the caller.
On Error Resume Next
r = o.ParseFileName(Array(1, 2), "C:\Review")
n = Err.Number
d = Err.Description
On Error GoTo 0
Check "ParseFileName with an array: Err.Number", CLng(13), n
Check "ParseFileName with an array: Err.Description", "Type mismatch", d
Done
