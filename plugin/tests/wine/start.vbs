' Two objects in one process: the library starts once. Works whatever the database settings are.
Dim o, other
Set o = CreateObject("Orvanta.clsOrvanta")
Set other = CreateObject("Orvanta.clsOrvanta")
o.LastName = "Start"
Check "object works", "Start", o.LastName
Check "second object works", "me", other.ConnectStringParams
Done
