// expect 1010 line 5
var http = new ActiveXObject("MSXML2.XMLHTTP");
var request = { send: function () { http.send(); } };
try { request.send(); }
catch (e) { request.finally = true; }
