' ShouldWriteToLog as PXEquip.ini has it now. Argument: True or False as expected.
Dim o
Set o = CreateObject("Orvanta.clsOrvanta")
Check "ShouldWriteToLog", CBool(WScript.Arguments(0)), o.ShouldWriteToLog()
Check "gblnShouldWriteToLog is not set by it", False, o.gblnShouldWriteToLog
Done
