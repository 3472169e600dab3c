// Disables stale accounts in an OU and writes a change log.
var ADS_UF_ACCOUNTDISABLE = 0x0002;
var STALE_DAYS = 90;
var conn = new ActiveXObject("ADODB.Connection");
var cmd = new ActiveXObject("ADODB.Command");
conn.Provider = "ADsDSOObject";
conn.Open("Active Directory Provider");
cmd.ActiveConnection = conn;
cmd.Properties("Page Size") = 500;
cmd.Properties("Searchscope") = 2;

var root = GetObject("LDAP://RootDSE");
var base = "<LDAP://OU=Staff," + root.Get("defaultNamingContext") + ">";
cmd.CommandText = base + ";(&(objectCategory=person)(objectClass=user));distinguishedName,sAMAccountName,lastLogonTimestamp,userAccountControl;subtree";

function fileTimeToDate(ft) {
    if (ft == null) return null;
    var high = ft.HighPart, low = ft.LowPart;
    if (low < 0) low += 4294967296;
    var ticks = high * 4294967296 + low;
    return new Date(ticks / 10000 - 11644473600000);
}

var changed = [], skipped = 0, rs = cmd.Execute();
var now = new Date().getTime(), limit = STALE_DAYS * 86400000;
while (!rs.EOF) {
    var dn = rs.Fields("distinguishedName").Value;
    var flags = rs.Fields("userAccountControl").Value;
    var last = fileTimeToDate(rs.Fields("lastLogonTimestamp").Value);
    if ((flags & ADS_UF_ACCOUNTDISABLE) == 0 && (last == null || now - last.getTime() > limit)) {
        try {
            var user = GetObject("LDAP://" + dn.replace(/\//g, "\\/"));
            user.Put("userAccountControl", flags | ADS_UF_ACCOUNTDISABLE);
            user.Put("description", "Disabled " + new Date().toDateString() + " (inactive)");
            user.SetInfo();
            changed.push(rs.Fields("sAMAccountName").Value);
        } catch (e) {
            WScript.Echo("Could not disable " + dn + ": " + e.description);
        }
    } else {
        ++skipped;
    }
    rs.MoveNext();
}
rs.Close();
conn.Close();

var message = changed.length + " account(s) disabled, " + skipped + " left alone";
WScript.Echo(changed.length ? message + ":\n\t" + changed.sort().join("\n\t") : message);
