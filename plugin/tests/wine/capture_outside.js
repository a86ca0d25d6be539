// A capture of a patient whose names hold characters of the code page and beyond it, and whose identifier is
// longer than the file key. Arguments: the case ("outside", or "double-byte": names whose characters are two
// bytes in code pages 950 and 932 with a backslash byte second), the expected result text.
var o = new ActiveXObject("Orvanta.clsOrvanta");
o.PATIENTID = "AB-CD-EF-GH-IJ-KLMNOPQR";
o.LastName = "Zo" + String.fromCharCode(0xEB);
o.FirstName = String.fromCharCode(0x141) + "ukasz";
o.MiddleName = "";
o.Gender = "F";
o.DateOfBirth = "";
if (WScript.Arguments(0) == "double-byte") {
    o.LastName = String.fromCharCode(0x8A31);   // B3 5C in code page 950
    o.FirstName = String.fromCharCode(0x8868);  // 95 5C in code page 932
}
o.ExamRecNum = 678;
o.DeviceName = "Capture Sorvane";
check("result", WScript.Arguments(1), o.DoDeviceFunction());
done();
