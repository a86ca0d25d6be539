// A capture of a patient whose names hold characters of the code page and beyond it, and whose identifier is
// longer than the file key. Arguments: ignored case name, the expected result text.
var o = new ActiveXObject("Orvanta.clsOrvanta");
o.PATIENTID = "AB-CD-EF-GH-IJ-KLMNOPQR";
o.LastName = "Zo" + String.fromCharCode(0xEB);
o.FirstName = String.fromCharCode(0x141) + "ukasz";
o.MiddleName = "";
o.Gender = "F";
o.DateOfBirth = "";
o.ExamRecNum = 678;
o.DeviceName = "Capture Sorvane";
check("result", WScript.Arguments(1), o.DoDeviceFunction());
done();
