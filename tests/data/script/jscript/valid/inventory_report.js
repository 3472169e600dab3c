// Collects hardware and software inventory of the listed machines through WMI.
var ForReading = 1;
var wbemFlagReturnImmediately = 0x10, wbemFlagForwardOnly = 0x20;
var fso = new ActiveXObject("Scripting.FileSystemObject");
var out = [], failed = {};
var hosts = readHosts(WScript.Arguments.length > 0 ? WScript.Arguments(0) : "hosts.txt");

function readHosts(path) {
    var list = [], seen = {};
    if (!fso.FileExists(path)) return ["."];
    var stream = fso.OpenTextFile(path, ForReading);
    while (!stream.AtEndOfStream) {
        var line = stream.ReadLine().replace(/^\s+|\s+$/g, "");
        if (line === "" || line.charAt(0) == "#" || line.indexOf(";") == 0) continue;
        line = line.split(/[\s,]+/)[0].toLowerCase();
        if (!(line in seen)) {
            seen[line] = true;
            list[list.length] = line;
        }
    }
    stream.Close();
    return list;
}

function query(service, wql) {
    return new Enumerator(service.ExecQuery(wql, "WQL", wbemFlagReturnImmediately | wbemFlagForwardOnly));
}

function csv(values) {
    var cells = [];
    for (var i = 0; i < values.length; i++) {
        var v = values[i] == null ? "" : String(values[i]);
        cells.push(/[",;\r\n]/.test(v) ? '"' + v.replace(/"/g, '""') + '"' : v);
    }
    return cells.join(";");
}

function gigabytes(bytes) {
    return Math.round(Number(bytes) / 1073741824 * 10) / 10;
}

out.push(csv(["Host", "Model", "Memory GB", "OS", "Disk", "Free GB", "Software"]));
for (var h = 0; h < hosts.length; h++) {
    var host = hosts[h];
    try {
        var wmi = GetObject("winmgmts:{impersonationLevel=impersonate}!\\\\" + host + "\\root\\cimv2");
        var model = "", memory = 0, os = "";
        for (var e = query(wmi, "SELECT Model, TotalPhysicalMemory FROM Win32_ComputerSystem"); !e.atEnd(); e.moveNext()) {
            model = e.item().Model;
            memory = gigabytes(e.item().TotalPhysicalMemory);
        }
        for (e = query(wmi, "SELECT Caption, CSDVersion FROM Win32_OperatingSystem"); !e.atEnd(); e.moveNext())
            os = e.item().Caption + (e.item().CSDVersion ? " " + e.item().CSDVersion : "");
        var software = 0;
        e = query(wmi, "SELECT Name FROM Win32_Product");
        while (!e.atEnd()) { software++; e.moveNext(); }
        var disks = query(wmi, "SELECT DeviceID, FreeSpace FROM Win32_LogicalDisk WHERE DriveType = 3");
        for (; !disks.atEnd(); disks.moveNext()) {
            var d = disks.item();
            out.push(csv([host, model, memory, os, d.DeviceID, gigabytes(d.FreeSpace), software]));
        }
    } catch (err) {
        failed[host] = (err.number & 0xFFFF) + " " + err.description;
    }
}

var report = fso.CreateTextFile("inventory.csv", true);
report.Write(out.join("\r\n"));
report.Close();

var problems = "";
for (var name in failed) {
    if (failed.hasOwnProperty(name)) problems += name + ": " + failed[name] + "\n";
}
WScript.Echo(out.length - 1 + " row(s) written." + (problems ? "\nUnreachable:\n" + problems : ""));
