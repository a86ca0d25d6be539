// Check routines put in front of every JScript case of the plug-in. Each check prints one line, "ok: ..." or
// "FAIL: ...", which the scenario counts; the scenario also wants the last line, "end of script".
function shown(value) {
    return typeof value + " [" + String(value) + "]";
}

// Same type and same value.
function check(what, expected, actual) {
    if (typeof expected === typeof actual && expected === actual)
        WScript.Echo("ok: " + what);
    else
        WScript.Echo("FAIL: " + what + ": expected " + shown(expected) + ", got " + shown(actual));
}

function checkTrue(what, condition) {
    WScript.Echo((condition ? "ok: " : "FAIL: ") + what);
}

function done() {
    WScript.Echo("end of script");
}

