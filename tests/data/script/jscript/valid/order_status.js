/* Process activity: derive the next status of an order from its attributes.
   Called by the process engine; DataRiver returns the value of a process attribute. */
var status = DataRiver("OrderStatus");
var amount = parseFloat(DataRiver("OrderAmount"));
var country = String(DataRiver("CustomerCountry")).toUpperCase();
var priority = DataRiver("Priority") | 0;
var result = "";
var notes = [];

function money(v) {
    var cents = Math.round(v * 100);
    var whole = Math.floor(cents / 100), frac = cents % 100;
    return whole.toString().replace(/\B(?=(\d{3})+(?!\d))/g, ".") + "," + (frac < 10 ? "0" : "") + frac;
}

switch (status) {
    case "NEW":
    case "RECEIVED":
        if (isNaN(amount) || amount <= 0) {
            result = "REJECTED";
            notes.push("amount missing");
            break;
        }
        result = amount > 10000 ? "APPROVAL" : "RELEASED";
        break;
    case "APPROVAL":
        switch (DataRiver("ApprovalDecision")) {
            case "Y": result = "RELEASED"; break;
            case "N": result = "REJECTED"; break;
            default:
                result = "APPROVAL";
                notes.push("waiting for decision since " + DataRiver("ApprovalRequested"));
        }
        break;
    case "RELEASED":
        switch (country) {
            case "ES": case "PT": case "FR":
                result = "SHIP_EU";
                break;
            case "US":
            case "CA":
                result = priority >= 2 ? "SHIP_AIR" : "SHIP_SEA";
                break;
            default:
                result = "SHIP_MANUAL";
                notes.push("no carrier for " + (country || "<empty>"));
        }
        break;
    case "SHIPPED":
        result = DataRiver("DeliveryConfirmed") == "1" ? "CLOSED" : "SHIPPED";
        break;
    default:
        throw new Error(5001, "Unknown order status '" + status + "'");
}

var text = "Order " + DataRiver("OrderId") + ": " + status + " -> " + result +
    " (" + money(isNaN(amount) ? 0 : amount) + " EUR)";
if (notes.length) text += "; " + notes.join("; ");
text;
