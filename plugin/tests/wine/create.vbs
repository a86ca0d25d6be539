' Whether Orvanta.clsOrvanta can be created. Argument: True or False as expected.
Dim o, n
On Error Resume Next
Set o = CreateObject("Orvanta.clsOrvanta")
n = Err.Number
On Error GoTo 0
If CBool(WScript.Arguments(0)) Then
    Check "created", CLng(0), n
    If n = 0 Then Check "works", "me", o.ConnectStringParams
Else
    Check "cannot be created", CLng(429), n
End If
Done
