' GetPraxoDBPath as praxo32.ini has it now. Argument: the expected answer.
Dim o
Set o = CreateObject("Orvanta.clsOrvanta")
Check "GetPraxoDBPath", WScript.Arguments(0), o.GetPraxoDBPath()
Done
