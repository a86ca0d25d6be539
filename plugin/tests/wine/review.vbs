' A review as the host starts it; the scenario works the window meanwhile.
' Arguments: PATIENTID, the device-function name, "direct" (ReviewDevice) or "dispatch" (DoDeviceFunction).
Dim o, r
Set o = CreateObject("Orvanta.clsOrvanta")
o.PATIENTID = WScript.Arguments(0)
o.DeviceName = WScript.Arguments(1)
If WScript.Arguments(2) = "dispatch" Then
    r = o.DoDeviceFunction()
Else
    r = o.ReviewDevice()
End If
Check "review result", "Was OK", r
WScript.Echo "folder: " & o.EquipDataPath
Done
