// The object from JScript, which passes every argument by value: setters that take their value by reference,
// methods with by-reference parameters, the catalogue through an Enumerator, and an error as an exception.
var programs = WScript.Arguments(0);
var o = new ActiveXObject("Orvanta.clsOrvanta");

check("fresh PATIENTID", "", o.PATIENTID);
check("fresh ExamRecNum", 0, o.ExamRecNum);
check("fresh HaveARData", false, o.HaveARData);
check("fresh NumDataSegments", 0, o.NumDataSegments);
check("ConnectStringParams", "me", o.ConnectStringParams);
check("fresh mobjPatient", null, o.mobjPatient);

o.PATIENTID = "12-345-678";
check("PATIENTID", "12-345-678", o.PATIENTID);
o.LastName = "O'Brien";
check("LastName", "O'Brien", o.LastName);
o.ExamRecNum = -678;
check("negative ExamRecNum", -678, o.ExamRecNum);
o.MaxCharsFromThisDevice = 2147483647;
check("MaxCharsFromThisDevice at its top", 2147483647, o.MaxCharsFromThisDevice);
o.HaveRM_PD_Data = true;
check("HaveRM_PD_Data", true, o.HaveRM_PD_Data);
o.DataIsSaved = true;
check("DataIsSaved", true, o.DataIsSaved);
o.gblnShouldWriteToLog = true;
check("gblnShouldWriteToLog", true, o.gblnShouldWriteToLog);
o.gblnShouldWriteToLog = false;
o.IrisCatagory = "Brown \u00e9\u4e2d";
check("IrisCatagory beyond ANSI", "Brown \u00e9\u4e2d", o.IrisCatagory);
o.DeviceName = "Review Pendro";

check("fun_sFixString", "O''Brien", o.fun_sFixString("O'Brien"));
check("fun_sFixString empty", "", o.fun_sFixString(""));
check("GetIDFromEquipFName", "", o.GetIDFromEquipFName("Review Sorvane", "x"));

o.Look4EndOfTransChar = true;
o.LoadEquipProps("Review Sorvane");
check("LoadEquipProps: EquipDataPath", programs, o.EquipDataPath);
check("LoadEquipProps: Look4EndOfTransChar", false, o.Look4EndOfTransChar);
check("LoadEquipProps: DataSource", "File", o.DataSource);

var d = {};
o.mobjPatient = d;
checkTrue("mobjPatient set from JScript", o.mobjPatient === d);

var names = o.DeviceNames;
check("Count", 16, names.Count);
check("Item(1)", "Capture VexaFyndra", names.Item(1));
var seen = [];
for (var e = new Enumerator(names); !e.atEnd(); e.moveNext()) seen.push(e.item());
check("enumerated entries", 16, seen.length);
check("enumeration order", "Capture VexaFyndra|Review VexaFyndra|Capture Sorvane|Review Sorvane|" +
    "Capture Belcor|Review Belcor|Capture Trelly|Review Trelly|Capture Fyndra|Review Fyndra|Capture Ospen|" +
    "Review Ospen|Capture Halvery|Review Halvery|Capture Pendro|Review Pendro", seen.join("|"));

// An untrapped error (a safe array where a file name belongs) arrives as an exception with the HRESULT of a control error and its description.
var keys = new ActiveXObject("Scripting.Dictionary");
keys.Add("a", 1);
try {
    o.ParseFileName(keys.Keys(), "C:\\Review");
    checkTrue("ParseFileName with an object raises", false);
} catch (err) {
    check("error number is 0x800A000D", 0x800A000D | 0, err.number | 0);
    check("error description", "Type mismatch", err.description);
}
try {
    var x = o.UseSerialPort;
    o.UseSerialPort = true;
    checkTrue("writing UseSerialPort raises", false);
} catch (err) {
    checkTrue("writing UseSerialPort raises", true);
}
done();
