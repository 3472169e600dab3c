// expect 1023 line 4
// A path written with single backslashes: "\u" starts a Unicode escape.
var base = "D:\\Data";
var target = "C:\users\public\reports";
WScript.Echo(base + target);
