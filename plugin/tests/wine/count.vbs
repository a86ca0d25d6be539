' NumPatientImageFiles and the summary behind LogoToolTip.
' Arguments: PATIENTID, the device-function name, the expected count, EquipDataPath expected afterwards.
Dim o, n, summary
Set o = CreateObject("Orvanta.clsOrvanta")
Check "no summary before a count", "", o.LogoToolTip
o.PATIENTID = WScript.Arguments(0)
o.DeviceName = WScript.Arguments(1)
o.EquipDataPath = "C:\before"
n = o.NumPatientImageFiles()
Check "count", CLng(WScript.Arguments(2)), n
Check "EquipDataPath afterwards", WScript.Arguments(3), o.EquipDataPath
summary = o.LogoToolTip
Dim pattern
Set pattern = New RegExp
pattern.Pattern = "^Last Session: \d{1,2}/\d{1,2}/\d{4} \d{1,2}:\d{2}:\d{2} [AP]M  Images=" & n & "$"
CheckTrue "summary [" & summary & "]", pattern.Test(summary)
Check "summary kept", summary, o.LogoToolTip
Done
