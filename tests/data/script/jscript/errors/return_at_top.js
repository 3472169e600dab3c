// expect 1018 line 5
var args = WScript.Arguments;
if (args.length == 0) {
    WScript.Echo("usage: tool.js FILE");
    return;
}
