// Calls the stock service and stores the quantity in a process attribute.
var SERVICE_URL = "http://erp.example.local/services/Stock.asmx";
var SOAP_ACTION = "http://example.local/stock/GetQuantity";
var TIMEOUT_MS = 30000;

function xmlEscape(s) {
    return String(s).replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;")
        .replace(/"/g, "&quot;").replace(/'/g, "&apos;");
}

function envelope(item, warehouse) {
    var parts = [];
    parts.push('<?xml version="1.0" encoding="utf-8"?>');
    parts.push('<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/"');
    parts.push('  xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">');
    parts.push("<soap:Body><GetQuantity xmlns=\"http://example.local/stock/\">");
    parts.push("<item>" + xmlEscape(item) + "</item>");
    parts.push("<warehouse>" + xmlEscape(warehouse) + "</warehouse>");
    parts.push("</GetQuantity></soap:Body></soap:Envelope>");
    return parts.join("\r\n");
}

function call(item, warehouse) {
    var http = new ActiveXObject("MSXML2.ServerXMLHTTP.6.0");
    http.setTimeouts(5000, 5000, TIMEOUT_MS, TIMEOUT_MS);
    http.open("POST", SERVICE_URL, false);
    http.setRequestHeader("Content-Type", "text/xml; charset=utf-8");
    http.setRequestHeader("SOAPAction", '"' + SOAP_ACTION + '"');
    http.send(envelope(item, warehouse));
    if (http.status != 200) {
        throw new Error(http.status, "HTTP " + http.status + " " + http.statusText);
    }
    var doc = new ActiveXObject("MSXML2.DOMDocument");
    doc.async = false;
    doc.setProperty("SelectionLanguage", "XPath");
    doc.setProperty("SelectionNamespaces", "xmlns:s='http://example.local/stock/'");
    if (!doc.loadXML(http.responseText)) {
        var pe = doc.parseError;
        throw new Error(pe.errorCode, "Bad response at line " + pe.line + ": " + pe.reason);
    }
    var node = doc.selectSingleNode("//s:GetQuantityResult");
    return node ? parseInt(node.text, 10) : -1;
}

var quantity = -1, attempts = 0, lastError = null;
do {
    attempts++;
    try {
        quantity = call(DataRiver("ItemCode"), DataRiver("Warehouse") || "MAIN");
        lastError = null;
    } catch (e) {
        lastError = e;
        if (attempts < 3) WScript.Sleep(1000 * attempts);
    }
} while (lastError != null && attempts < 3)

if (lastError) {
    "ERROR: " + (lastError.description || lastError.message);
} else {
    quantity >= 0 ? String(quantity) : "UNKNOWN";
}
