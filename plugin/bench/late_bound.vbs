' Late-bound calls as a VBScript host makes them: a property let and get of clsOrvanta beside the same on
' Scripting.Dictionary's Item, in one script. The loop count grows until a loop takes long enough for the
' script's timer; then each loop runs five times, alternating. Prints one line:
'   late-bound COUNT ORVANTA_MS DICTIONARY_MS   (medians, in whole milliseconds)
Option Explicit

Dim orvanta, dictionary, value
Set orvanta = CreateObject("Orvanta.clsOrvanta")
Set dictionary = CreateObject("Scripting.Dictionary")
dictionary.Item("k") = ""

' Seconds since midnight; a run over midnight adds a day.
Function Elapsed(start)
    Elapsed = Timer - start
    If Elapsed < 0 Then Elapsed = Elapsed + 86400
End Function

Function TimeOrvanta(count)
    Dim i, start
    start = Timer
    For i = 1 To count
        orvanta.PATIENTID = "AB-1234-XY"
        value = orvanta.PATIENTID
    Next
    TimeOrvanta = Elapsed(start)
End Function

Function TimeDictionary(count)
    Dim i, start
    start = Timer
    For i = 1 To count
        dictionary.Item("k") = "AB-1234-XY"
        value = dictionary.Item("k")
    Next
    TimeDictionary = Elapsed(start)
End Function

Function Median(values)
    Dim i, j, swap
    For i = 0 To UBound(values)
        For j = i + 1 To UBound(values)
            If values(j) < values(i) Then
                swap = values(i): values(i) = values(j): values(j) = swap
            End If
        Next
    Next
    Median = values(UBound(values) \ 2)
End Function

Dim count, run, orvantaTimes(4), dictionaryTimes(4)
count = 2000
Do While TimeDictionary(count) < 0.3 And count < 2000000
    count = count * 2
Loop
For run = 0 To 4
    orvantaTimes(run) = TimeOrvanta(count)
    dictionaryTimes(run) = TimeDictionary(count)
Next
WScript.Echo "late-bound " & count & " " & Int(Median(orvantaTimes) * 1000) & " " & _
    Int(Median(dictionaryTimes) * 1000)
