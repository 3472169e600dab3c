// expect 1004 line 4
var total = 0;
for (var i = 0; i < 10; i++) {
    total += i WScript.Echo(total);
}
