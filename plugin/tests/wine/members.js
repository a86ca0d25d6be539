// Every member by name from JScript, which passes every argument by value: the initial values, and texts,
// truth values, 32-bit integers and objects written and read back.
var objs = ["mobjPatient", "mobjKWVisTestsDataObject", "mobjUAVAKWTestsDataObject", "mobjRTSubjDataObject", "mobjRTFinalDataObject", "mobjTrailCLDataObject", "mobjLMDataObject", "mobjRMDataObject", "mobjKMDataObject", "mobjARDataObject", "mobjVLDataObject", "mobjLXDataObject", "mobjPresentingCLDataObject"];
var rwbool = ["gblnShouldWriteToLog", "Look4EndOfTransChar", "HaveRTSubjData", "HaveRTFinalData", "HaveTrailCLData", "HavePresentingCLData", "HaveKMData", "HaveBinoVisTestData", "HaveRMData", "HaveRM_PD_Data", "HaveLMData", "HaveLXData", "HaveARData", "HaveVAAidedData", "HaveVAUnAidedData", "DataIsSaved"];
var robool = ["UseOtherCommCtrl", "UseSerialPort"];
var rwtext = ["CompanyName", "Model", "ExamDate", "CharsAtEndOfData2Look4", "DataSource", "PATIENTID", "LastName", "FirstName", "MiddleName", "Gender", "DateOfBirth", "ProviderName", "IrisCatagory", "EquipDataPath", "EquipDataFileStartChars", "EquipDataFileEndChars", "EquipProgPathFName"];
var rotext = ["SQLString2Execute", "CommPort", "BaudRate", "DataBits", "Parity", "StopBits", "CommEvent", "FirstChar", "LastChar", "Handshaking", "LogoToolTip"];
var rwlong = ["MaxCharsFromThisDevice", "ExamRecNum"];
var o = new ActiveXObject("Orvanta.clsOrvanta");
var i, j, name;

for (i = 0; i < objs.length; i++) check(objs[i] + " starts as null", null, o[objs[i]]);
var bools = rwbool.concat(robool);
for (i = 0; i < bools.length; i++) check(bools[i] + " starts false", false, o[bools[i]]);
var texts = rwtext.concat(rotext);
for (i = 0; i < texts.length; i++) check(texts[i] + " starts empty", "", o[texts[i]]);
for (i = 0; i < rwlong.length; i++) check(rwlong[i] + " starts at 0", 0, o[rwlong[i]]);

// Texts: UTF-16 beyond the ANSI code page, an embedded NUL, 5000 characters, empty again.
var longText = new Array(5001).join("x") + "end";
var values = [["a literal", "plain"], ["UTF-16 with a NUL", "O\u03a9\u4e2da\u0000b"], ["5003 characters", longText],
              ["empty", ""]];
for (i = 0; i < rwtext.length; i++) {
    for (j = 0; j < values.length; j++) {
        o[rwtext[i]] = values[j][1];
        check(rwtext[i] + " = " + values[j][0], values[j][1], o[rwtext[i]]);
    }
}
for (i = 0; i < rwbool.length; i++) {
    o[rwbool[i]] = true;
    check(rwbool[i] + " = true", true, o[rwbool[i]]);
    o[rwbool[i]] = false;
    check(rwbool[i] + " = false", false, o[rwbool[i]]);
}
var numbers = [678, -5, 2147483647, -2147483648, 0];
for (i = 0; i < rwlong.length; i++) {
    for (j = 0; j < numbers.length; j++) {
        o[rwlong[i]] = numbers[j];
        check(rwlong[i] + " = " + numbers[j], numbers[j], o[rwlong[i]]);
    }
}
var d = new ActiveXObject("Scripting.Dictionary");
d.Add("k", "kept");
// (JScript has no way to set Nothing: null is no object reference.)
for (i = 0; i < objs.length; i++) {
    o[objs[i]] = d;
    check(objs[i] + " holds the object", "kept", o[objs[i]].Item("k"));
}

// Read-only members refuse writing.
for (i = 0; i < rotext.length; i++) {
    try {
        o[rotext[i]] = "x";
        checkTrue("writing " + rotext[i] + " fails", false);
    } catch (err) {
        check(rotext[i] + " still empty", "", o[rotext[i]]);
    }
}
done();
