' The installed plug-in as a host uses it: created by its ProgID, with its catalogue of device functions.
Dim o, name, n
Set o = CreateObject("Orvanta.clsOrvanta")
Check "works", "me", o.ConnectStringParams
Check "DeviceNames.Count", CLng(16), o.DeviceNames.Count
n = 0
For Each name In o.DeviceNames
    If Left(name, 8) = "Capture " Or Left(name, 7) = "Review " Then n = n + 1
Next
Check "every entry a capture or a review", CLng(16), CLng(n)
Done
