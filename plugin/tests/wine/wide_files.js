// Makes files through the wide file API, for names the ANSI code page cannot hold. Arguments: the folder, then
// the names, in which %uXXXX stands for a character (JScript's unescape); each file holds "image".
var fso = new ActiveXObject("Scripting.FileSystemObject");
for (var i = 1; i < WScript.Arguments.length; i++) {
    var file = fso.CreateTextFile(WScript.Arguments(0) + "\\" + unescape(WScript.Arguments(i)), true);
    file.Write("image");
    file.Close();
}
done();
