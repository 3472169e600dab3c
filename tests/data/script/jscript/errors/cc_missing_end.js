// expect 1029 line 9
/*@cc_on
@if (@_jscript_version >= 5.5)
var modern = true;
@else
var modern = false;
@*/
WScript.Echo(modern);
