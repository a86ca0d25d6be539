' Errors inside DoDeviceFunction are trapped; the same error from ReviewDevice reaches the caller.
' Argument: the number of DoDeviceFunction calls. Prints "error: number|description" of ReviewDevice's error.
Dim o, i, r, n, d
Set o = CreateObject("Orvanta.clsOrvanta")
o.DeviceName = "Review Pendro"
For i = 1 To CInt(WScript.Arguments(0))
    On Error Resume Next
    r = o.DoDeviceFunction()
    n = Err.Number
    On Error GoTo 0
    Check "DoDeviceFunction " & i & " succeeds", CLng(0), n
    Check "DoDeviceFunction " & i & " answers empty", "", r
Next
On Error Resume Next
r = o.ReviewDevice()
n = Err.Number
d = Err.Description
On Error GoTo 0
CheckTrue "ReviewDevice raises to the caller", n <> 0
WScript.Echo "error: " & n & "|" & d
Done
