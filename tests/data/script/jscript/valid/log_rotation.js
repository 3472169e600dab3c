// Rotates the application logs of the night batch and mails a summary.
// Run with: cscript //nologo log_rotation.js /days:14 /folder:D:\Logs
var fso = new ActiveXObject("Scripting.FileSystemObject");
var shell = WScript.CreateObject("WScript.Shell");
var args = WScript.Arguments.Named;

var KEEP_DAYS = args.Exists("days") ? parseInt(args.Item("days"), 10) : 30;
var LOG_FOLDER = args.Exists("folder") ? args.Item("folder") : "C:\\Batch\\Logs";
var ARCHIVE = LOG_FOLDER + "\\archive";
var ForReading = 1, ForWriting = 2, ForAppending = 8;

function pad(n, width) {
    var s = String(n);
    while (s.length < width) s = "0" + s;
    return s;
}

function stamp(d) {
    return d.getFullYear() + "-" + pad(d.getMonth() + 1, 2) + "-" + pad(d.getDate(), 2) +
        " " + pad(d.getHours(), 2) + ":" + pad(d.getMinutes(), 2);
}

function log(msg) {
    var f = fso.OpenTextFile(LOG_FOLDER + "\\rotation.log", ForAppending, true);
    f.WriteLine("[" + stamp(new Date()) + "] " + msg);
    f.Close();
}

function ensureFolder(path) {
    if (!fso.FolderExists(path)) {
        var parent = fso.GetParentFolderName(path);
        if (parent && !fso.FolderExists(parent)) ensureFolder(parent);
        fso.CreateFolder(path);
    }
}

function ageInDays(file) {
    var modified = new Date(file.DateLastModified);
    return Math.floor((new Date() - modified) / (1000 * 60 * 60 * 24));
}

var moved = 0, deleted = 0, errors = [];
ensureFolder(ARCHIVE);

var files = new Enumerator(fso.GetFolder(LOG_FOLDER).Files);
for (; !files.atEnd(); files.moveNext()) {
    var file = files.item();
    var name = file.Name;
    if (!/\.(log|txt)$/i.test(name) || name == "rotation.log")
        continue;
    try {
        var days = ageInDays(file);
        if (days > KEEP_DAYS * 2) {
            file.Delete(true);
            deleted++;
        } else if (days > KEEP_DAYS) {
            file.Move(ARCHIVE + "\\" + name.replace(/\.log$/i, "_" + pad(days, 3) + ".log"));
            moved++;
        }
    } catch (e) {
        errors.push(name + ": " + (e.description || e.message) + " (0x" +
            (e.number < 0 ? e.number + 0x100000000 : e.number).toString(16) + ")");
    }
}

var archived = new Enumerator(fso.GetFolder(ARCHIVE).Files);
while (!archived.atEnd()) {
    var old = archived.item();
    if (ageInDays(old) > 365) {
        try { old.Delete(true); deleted++; } catch (ignored) { }
    }
    archived.moveNext();
}

var summary = "Moved " + moved + " file(s), deleted " + deleted + " file(s).";
if (errors.length > 0) {
    summary += "\r\nErrors:\r\n  " + errors.join("\r\n  ");
}
log(summary);

if (errors.length > 0 || args.Exists("mail")) {
    var mail = new ActiveXObject("CDO.Message");
    mail.From = "batch@example.local";
    mail.To = args.Exists("mail") ? args.Item("mail") : "ops@example.local";
    mail.Subject = (errors.length ? "[WARN] " : "") + "Log rotation on " +
        shell.ExpandEnvironmentStrings("%COMPUTERNAME%");
    mail.TextBody = summary;
    var cfg = mail.Configuration.Fields;
    cfg.Item("http://schemas.microsoft.com/cdo/configuration/sendusing") = 2;
    cfg.Item("http://schemas.microsoft.com/cdo/configuration/smtpserver") = "smtp.example.local";
    cfg.Update();
    mail.Send();
}
WScript.Quit(errors.length ? 1 : 0);
