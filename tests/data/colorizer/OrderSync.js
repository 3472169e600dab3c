// Synchronises the order lines of the current activity with the ERP service.
/*
 * Conditional compilation keeps the debug output out of production runs.
 */
/*@cc_on @*/
/*@if (@_jscript_version >= 5.5)
var DEBUG = false;
@end @*/

var MAX_LINES = 250, TIMEOUT_MS = 3e4;
var shell = new ActiveXObject("WScript.Shell");

function OrderLine(sku, qty, price) {
    this.sku = sku;
    this.qty = qty | 0;
    this.price = parseFloat(price);
}

OrderLine.prototype.total = function () {
    return Math.round(this.qty * this.price * 100) / 100;
};

function readLines() {
    var lines = [], count = parseInt(DataRiver("LineCount"), 10);
    for (var i = 0; i < count && i < MAX_LINES; i++) {
        var raw = DataRiver("Line" + i);
        if (raw === null || raw == '') continue;
        var parts = raw.split(';');
        lines.push(new OrderLine(parts[0], parts[1], parts[2]));
    }
    return lines;
}

function describe(line) {
    switch (typeof line.sku) {
        case 'string':
            return 'SKU \'' + line.sku + '\' x' + line.qty;
        default:
            return "unknown \"item\"";
    }
}

try {
    var lines = readLines(), sum = 0.0;
    for (var j in lines) {
        sum += lines[j].total();
        if (DEBUG) shell.LogEvent(4, describe(lines[j]));
    }
    if (sum > 0x7FFFFFFF) throw new Error("Order total overflow");
} catch (e) {
    shell.LogEvent(1, "Order sync failed: " + e.message);
} finally {
    shell = null;
}
