// expect 1009 line 15
var fso = new ActiveXObject("Scripting.FileSystemObject");

function countFiles(path) {
    var n = 0;
    var e = new Enumerator(fso.GetFolder(path).Files);
    for (; !e.atEnd(); e.moveNext()) {
        if (/\.tmp$/i.test(e.item().Name)) {
            n++;
    }
    return n;
}

WScript.Echo(countFiles("C:\\Temp"));
