' Check routines put in front of every VBScript case of the plug-in. Each check prints one line, "ok: ..." or
' "FAIL: ...", which the scenario counts; the scenario also wants the last line, "end of script".
Option Explicit

Function Shown(value)
    If IsObject(value) Then
        Shown = TypeName(value)
    ElseIf IsArray(value) Then
        Shown = "Array"
    Else
        Dim text
        text = Replace(CStr(value), Chr(0), "\0")
        If Len(text) > 60 Then text = Left(text, 60) & "..."
        Shown = TypeName(value) & " [" & text & "]"
    End If
End Function

' Same type and same value.
Sub Check(what, expected, actual)
    If TypeName(expected) = TypeName(actual) Then
        If expected = actual Then
            WScript.Echo "ok: " & what
            Exit Sub
        End If
    End If
    WScript.Echo "FAIL: " & what & ": expected " & Shown(expected) & ", got " & Shown(actual)
End Sub

Sub CheckTrue(what, condition)
    If condition Then
        WScript.Echo "ok: " & what
    Else
        WScript.Echo "FAIL: " & what
    End If
End Sub

Sub Done()
    WScript.Echo "end of script"
End Sub

