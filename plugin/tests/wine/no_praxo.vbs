' Objects created while praxo32.ini cannot be read still work. The scenario answers the boxes.
' Argument: what GetPraxoDBPath answers.
Dim o, other, r
Set o = CreateObject("Orvanta.clsOrvanta")
Set other = CreateObject("Orvanta.clsOrvanta")
o.PATIENTID = "12-34"
Check "PATIENTID kept", "12-34", o.PATIENTID
Check "ConnectStringParams", "me", o.ConnectStringParams
Check "DeviceNames", CLng(16), o.DeviceNames.Count
o.EquipDataPath = "C:\before"
o.LoadEquipProps "Capture Sorvane"
Check "EquipDataPath from a missing programs folder", "", o.EquipDataPath
Check "EquipProgPathFName", "C:\SCANSUITE\bin\Enrolix.exe", o.EquipProgPathFName
Check "DoDeviceFunction with no name", "", other.DoDeviceFunction()
r = o.GetPraxoDBPath()
Check "GetPraxoDBPath", WScript.Arguments(0), r
Done
