// expect 1015 line 6
var shell = new ActiveXObject("WScript.Shell");
var user = shell.ExpandEnvironmentStrings("%USERNAME%");
var greeting = "Hello, " + user;
if (user.length > 0) {
    WScript.Echo("Welcome back, + user);
}
