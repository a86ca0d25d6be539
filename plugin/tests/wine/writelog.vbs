' WriteToLog. Arguments: the switch (True or False) and the texts to write, one call each.
Dim o, i, n
Set o = CreateObject("Orvanta.clsOrvanta")
o.gblnShouldWriteToLog = CBool(WScript.Arguments(0))
For i = 1 To WScript.Arguments.Count - 1
    On Error Resume Next
    o.WriteToLog WScript.Arguments(i) & ""
    n = Err.Number
    On Error GoTo 0
    Check "WriteToLog " & i & " returns normally", CLng(0), n
Next
Done
