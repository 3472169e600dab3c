// expect 1028 line 7
var settings = {
    server: "smtp.example.local",
    port: 25,
    retries: 3,
    sender: "batch@example.local",
};
WScript.Echo(settings.server);
