/*@cc_on @*/
/*@
    var engine = "JScript " + @_jscript_version + " build " + @_jscript_build;
    @if (@_win32)
        var platform = "Win32";
    @elif (@_win16)
        var platform = "Win16";
    @else
        var platform = "other";
    @end
@*/
@set @tracing = 0
@set @maxRetries = (2 + 1)

var isJScript = /*@cc_on!@*/false;
var retries = @maxRetries;

function trace(msg) {
    @if (@tracing)
        WScript.StdErr.WriteLine("trace: " + msg);
    @else
        // tracing disabled at compile time
    @end
}

//@cc_on var modern = @_jscript_version >= 5.5;
if (typeof modern == "undefined") var modern = false;

@if (@_jscript_version >= 5.5)
function safeCall(f, fallback) {
    try { return f(); } catch (e) { trace(e.message); return fallback; } finally { retries--; }
}
@else
function safeCall(f, fallback) { return f(); }
@end

function window::onload() {
    trace("loaded with " + engine + " on " + platform);
}

function document.body::onclick() {
    var target = event.srcElement;
    label: for (var node = target; node != null; node = node.parentElement) {
        switch (node.tagName) {
            case "A": trace("link"); break label;
            case "BUTTON": trace("button"); break label;
        }
    }
}

var answer = safeCall(function () { return 6 * 7; }, 0);
