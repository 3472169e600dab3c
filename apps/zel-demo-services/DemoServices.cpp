#include "DemoServices.h"

#include "DemoRegistry.h"
#include "DemoWsdl.h"

#include "platform/text/Text.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>

namespace zel::demo {

namespace {

constexpr const char* kSoapEnvelopeNs = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr const char* kRegistryPath = "/uddi/inquiry";

// A SOAP fault the operation answers with instead of a result.
struct Fault
{
    std::string code; // "soap:Client" or "soap:Server"
    std::string text;
};

using Arguments = std::map<std::string, std::string>;
// The XML content of the response element (already escaped), or a fault.
using Handler = std::function<std::string(const std::string& operation, const Arguments& args)>;

[[noreturn]] void clientFault(const std::string& text)
{
    throw Fault{"soap:Client", text};
}

std::string argument(const Arguments& args, const std::string& name)
{
    const auto found = args.find(name);
    if (found == args.end())
        clientFault("Missing parameter '" + name + "'");
    return found->second;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

int32_t toInt(const Arguments& args, const std::string& name)
{
    const std::string text = trimmed(argument(args, name));
    int32_t value = 0;
    const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
    const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        clientFault("Parameter '" + name + "' is not an int: '" + text + "'");
    return value;
}

double toDouble(const Arguments& args, const std::string& name)
{
    const std::string text = trimmed(argument(args, name));
    if (text == "INF")
        return std::numeric_limits<double>::infinity();
    if (text == "-INF")
        return -std::numeric_limits<double>::infinity();
    double value = 0;
    const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
    const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        clientFault("Parameter '" + name + "' is not a double: '" + text + "'");
    return value;
}

bool toBool(const Arguments& args, const std::string& name)
{
    const std::string text = trimmed(argument(args, name));
    if (text == "true" || text == "1")
        return true;
    if (text == "false" || text == "0")
        return false;
    clientFault("Parameter '" + name + "' is not a boolean: '" + text + "'");
}

// An xsd:date "YYYY-MM-DD" of the proleptic Gregorian calendar.
std::string toDate(const Arguments& args, const std::string& name)
{
    const std::string text = trimmed(argument(args, name));
    auto digits = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (i >= text.size() || text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const int year = digits(0, 4);
    const int month = digits(5, 2);
    const int day = digits(8, 2);
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const bool valid = text.size() == 10 && text[4] == '-' && text[7] == '-' && year > 0 && month >= 1 && month <= 12 &&
                       day >= 1 && day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    if (!valid)
        clientFault("Parameter '" + name + "' is not a date (YYYY-MM-DD): '" + text + "'");
    return text;
}

std::string formatDouble(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : "0";
}

std::string element(const std::string& name, const std::string& value)
{
    return "<" + name + ">" + escapeXml(value) + "</" + name + ">";
}

[[noreturn]] void unknownOperation(const std::string& operation)
{
    clientFault("Unknown operation '" + operation + "'");
}

AsmxService calculatorDescription()
{
    const std::vector<WsdlPart> ab = {{"a", "s:int"}, {"b", "s:int"}};
    return {"Calculator",
            "http://zel.example/demo/calculator/",
            "s",
            "Whole-number arithmetic.",
            {{"Add", ab, {{"AddResult", "s:int"}}},
             {"Subtract", ab, {{"SubtractResult", "s:int"}}},
             {"Multiply", ab, {{"MultiplyResult", "s:int"}}},
             {"Divide", ab, {{"DivideResult", "s:double"}}}},
            {}};
}

std::string calculator(const std::string& operation, const Arguments& args)
{
    const int64_t a = toInt(args, "a");
    const int64_t b = toInt(args, "b");
    auto checked = [&](int64_t value) {
        if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
            clientFault("Arithmetic operation resulted in an overflow.");
        return std::to_string(value);
    };
    if (operation == "Add")
        return element("AddResult", checked(a + b));
    if (operation == "Subtract")
        return element("SubtractResult", checked(a - b));
    if (operation == "Multiply")
        return element("MultiplyResult", checked(a * b));
    if (operation == "Divide") {
        if (b == 0)
            clientFault("Attempted to divide by zero.");
        return element("DivideResult", formatDouble(static_cast<double>(a) / static_cast<double>(b)));
    }
    unknownOperation(operation);
}

AsmxService eventLogDescription()
{
    return {"EventLog",
            "http://zel.example/demo/eventlog/",
            "s",
            "Keeps the events it is sent; LogEvent returns nothing.",
            {{"LogEvent", {{"source", "s:string"}, {"message", "s:string"}}, {}},
             {"GetEventCount", {}, {{"GetEventCountResult", "s:int"}}},
             {"GetLastMessage", {{"source", "s:string"}}, {{"GetLastMessageResult", "s:string"}}}},
            {}};
}

AsmxService ordersDescription()
{
    return {"OrderDesk",
            "http://zel.example/demo/orders/",
            "s",
            "Takes orders: one parameter of every simple type, a structured confirmation back; schedules "
            "deliveries by date and date and time.",
            {{"PlaceOrder",
              {{"customer", "s:string"},
               {"quantity", "s:int"},
               {"unitPrice", "s:double"},
               {"express", "s:boolean"},
               {"deliveryDate", "s:date"}},
              {{"PlaceOrderResult", "tns:OrderConfirmation"}}},
             {"ScheduleDelivery",
              {{"orderId", "s:string"}, {"day", "s:date"}, {"notBefore", "s:dateTime"}},
              {{"ScheduleDeliveryResult", "s:string"}}}},
            {{"OrderConfirmation",
              {{"OrderId", "s:string"},
               {"Customer", "s:string"},
               {"Total", "s:double"},
               {"Express", "s:boolean"},
               {"DeliveryDate", "s:date"}}}}};
}

AsmxService temperatureDescription()
{
    return {"TemperatureConverter",
            "http://zel.example/demo/temperature/",
            "xsd",
            "Converts temperatures; its schema prefix is xsd.",
            {{"CelsiusToFahrenheit", {{"celsius", "xsd:double"}}, {{"CelsiusToFahrenheitResult", "xsd:double"}}},
             {"FahrenheitToCelsius", {{"fahrenheit", "xsd:double"}}, {{"FahrenheitToCelsiusResult", "xsd:double"}}}},
            {}};
}

std::string temperature(const std::string& operation, const Arguments& args)
{
    if (operation == "CelsiusToFahrenheit")
        return element("CelsiusToFahrenheitResult", formatDouble(toDouble(args, "celsius") * 9.0 / 5.0 + 32.0));
    if (operation == "FahrenheitToCelsius")
        return element("FahrenheitToCelsiusResult", formatDouble((toDouble(args, "fahrenheit") - 32.0) * 5.0 / 9.0));
    unknownOperation(operation);
}

std::vector<ToolkitClass> inventoryClasses()
{
    return {{"Inventory",
             {{"GetStock", {{"item", "xsd:string"}}, {{"Result", "xsd:int"}}},
              {"SetStock", {{"item", "xsd:string"}, {"quantity", "xsd:int"}}, {{"Result", "xsd:boolean"}}}}},
            {"Pricing", {{"GetPrice", {{"item", "xsd:string"}}, {{"Result", "xsd:double"}}}}}};
}

std::string soapEnvelope(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<soap:Envelope xmlns:soap=\"" +
           std::string(kSoapEnvelopeNs) +
           "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>" +
           body + "</soap:Body></soap:Envelope>";
}

std::string localName(const char* name)
{
    const std::string text(name);
    const auto colon = text.find(':');
    return colon == std::string::npos ? text : text.substr(colon + 1);
}

pugi::xml_node childByLocalName(const pugi::xml_node& parent, const std::string& name)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && localName(c.name()) == name)
            return c;
    return {};
}

constexpr const char* kSchemaNs = "http://www.w3.org/2001/XMLSchema";
constexpr const char* kSchemaInstanceNs = "http://www.w3.org/2001/XMLSchema-instance";

// What a request for one operation must look like.
struct OperationContract
{
    std::string name;
    std::string soapAction;
    std::string wrapperNamespace;
    std::string parameterNamespace;                          // "" for unqualified parameters
    bool encoded = false;                                    // every value names its type with xsi:type
    std::vector<std::pair<std::string, std::string>> inputs; // name, schema type without prefix
};

// The namespace a prefixed name ("soap:Body", or "xsd:int" in an attribute) has at node: the
// nearest declaration of its prefix on node or an element around it; "" when undeclared.
std::string namespaceOf(pugi::xml_node node, const std::string& qualifiedName)
{
    const auto colon = qualifiedName.find(':');
    const std::string declaration = colon == std::string::npos ? "xmlns" : "xmlns:" + qualifiedName.substr(0, colon);
    for (; node && node.type() == pugi::node_element; node = node.parent())
        if (const pugi::xml_attribute a = node.attribute(declaration.c_str()))
            return a.value();
    return {};
}

bool allDigits(const std::string& text, std::size_t from, std::size_t count)
{
    if (from + count > text.size())
        return false;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                       text.begin() + static_cast<std::ptrdiff_t>(from + count),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// text without an XML Schema time zone at its end ("Z", "+01:00").
std::string withoutZone(const std::string& text)
{
    if (text.ends_with('Z'))
        return text.substr(0, text.size() - 1);
    const std::size_t n = text.size();
    if (n > 6 && (text[n - 6] == '+' || text[n - 6] == '-') && text[n - 3] == ':' && allDigits(text, n - 5, 2) &&
        allDigits(text, n - 2, 2))
        return text.substr(0, n - 6);
    return text;
}

bool isLexicalDate(const std::string& t)
{
    return t.size() == 10 && allDigits(t, 0, 4) && t[4] == '-' && allDigits(t, 5, 2) && t[7] == '-' &&
           allDigits(t, 8, 2) && t.substr(5, 2) >= "01" && t.substr(5, 2) <= "12" && t.substr(8, 2) >= "01" &&
           t.substr(8, 2) <= "31";
}

bool isLexicalTime(std::string t)
{
    if (t.size() > 9 && t[8] == '.' && allDigits(t, 9, t.size() - 9))
        t.resize(8);
    return t.size() == 8 && allDigits(t, 0, 2) && t[2] == ':' && allDigits(t, 3, 2) && t[5] == ':' &&
           allDigits(t, 6, 2) && t.substr(0, 2) <= "23" && t.substr(3, 2) <= "59" && t.substr(6, 2) <= "59";
}

// True when text is written as XML Schema writes a value of type (whitespace around it
// collapsed, as the schema does for these types); every text is a string.
bool isLexical(const std::string& type, const std::string& value)
{
    const std::string t = trimmed(value);
    if ((type == "int" || type == "double") && (t.starts_with("+-") || t.starts_with("++")))
        return false;
    if (type == "int") {
        int32_t n = 0;
        const char* begin = t.data() + (t.starts_with('+') ? 1 : 0);
        const auto [end, ec] = std::from_chars(begin, t.data() + t.size(), n);
        return !t.empty() && ec == std::errc() && end == t.data() + t.size();
    }
    if (type == "double") {
        if (t == "INF" || t == "-INF" || t == "NaN")
            return true;
        const bool digits = std::any_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
        const bool allowed = t.find_first_not_of("0123456789+-.eE") == std::string::npos;
        double d = 0;
        const char* begin = t.data() + (t.starts_with('+') ? 1 : 0);
        const auto [end, ec] = std::from_chars(begin, t.data() + t.size(), d);
        return digits && allowed && ec == std::errc() && end == t.data() + t.size();
    }
    if (type == "boolean")
        return t == "true" || t == "false" || t == "1" || t == "0";
    if (type == "date")
        return isLexicalDate(withoutZone(t));
    if (type == "dateTime") {
        const std::string u = withoutZone(t);
        return u.size() > 11 && u[10] == 'T' && isLexicalDate(u.substr(0, 10)) && isLexicalTime(u.substr(11));
    }
    return true;
}

// The operation a request calls, checked as a strict server checks it: a SOAP 1.1 envelope
// with a body holding one wrapper element in the operation's namespace, the operation's
// SOAPAction, every parameter once, in its namespace, with a value of its type's lexical form
// (and the type named by xsi:type for the encoded style), and nothing else. Answers the
// operation's name and its arguments; a fault names the first problem.
std::pair<std::string, Arguments> checkedCall(const std::vector<OperationContract>& contracts,
                                              const httplib::Request& req)
{
    pugi::xml_document document;
    if (!document.load_buffer(req.body.data(), req.body.size()))
        clientFault("The request is not well-formed XML");
    const pugi::xml_node envelope = document.document_element();
    if (localName(envelope.name()) != "Envelope" || namespaceOf(envelope, envelope.name()) != kSoapEnvelopeNs)
        clientFault("The request is not a SOAP 1.1 envelope (Envelope in " + std::string(kSoapEnvelopeNs) + ")");
    const pugi::xml_node body = childByLocalName(envelope, "Body");
    if (!body || namespaceOf(body, body.name()) != kSoapEnvelopeNs)
        clientFault("The SOAP envelope has no Body");
    pugi::xml_node call;
    for (pugi::xml_node c = body.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        if (call)
            clientFault("The SOAP body holds more than one element");
        call = c;
    }
    if (!call)
        clientFault("The SOAP body holds no operation");

    const std::string operation = localName(call.name());
    const auto contract = std::find_if(contracts.begin(), contracts.end(),
                                       [&](const OperationContract& c) { return c.name == operation; });
    if (contract == contracts.end())
        unknownOperation(operation);
    const std::string wrapperNs = namespaceOf(call, call.name());
    if (wrapperNs != contract->wrapperNamespace)
        clientFault("The element " + operation + " must be in the namespace '" + contract->wrapperNamespace +
                    "', not '" + wrapperNs + "'");
    std::string action = req.get_header_value("SOAPAction");
    if (action.size() >= 2 && action.front() == '"' && action.back() == '"')
        action = action.substr(1, action.size() - 2);
    if (!req.has_header("SOAPAction") || action != contract->soapAction)
        clientFault("The SOAPAction '" + action + "' does not name the operation " + operation + " ('" +
                    contract->soapAction + "')");

    Arguments args;
    for (pugi::xml_node c = call.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const std::string name = localName(c.name());
        const auto input = std::find_if(contract->inputs.begin(), contract->inputs.end(),
                                        [&](const auto& in) { return in.first == name; });
        if (input == contract->inputs.end())
            clientFault("The operation " + operation + " has no parameter '" + name + "'");
        const std::string ns = namespaceOf(c, c.name());
        if (ns != contract->parameterNamespace)
            clientFault("The parameter '" + name + "' must be in the namespace '" + contract->parameterNamespace +
                        "', not '" + ns + "'");
        if (c.first_element_by_path("*"))
            clientFault("The parameter '" + name + "' holds elements, not a value");
        if (contract->encoded) {
            std::string xsiType;
            for (const pugi::xml_attribute a : c.attributes())
                if (localName(a.name()) == "type" && std::string(a.name()).find(':') != std::string::npos &&
                    namespaceOf(c, a.name()) == kSchemaInstanceNs)
                    xsiType = a.value();
            if (xsiType.empty())
                clientFault("The parameter '" + name + "' has no xsi:type");
            if (namespaceOf(c, xsiType) != kSchemaNs || localName(xsiType.c_str()) != input->second)
                clientFault("The parameter '" + name + "' has the xsi:type '" + xsiType + "', not the schema type " +
                            input->second);
        }
        const std::string value = c.text().get();
        if (!isLexical(input->second, value))
            clientFault("Parameter '" + name + "' is not a valid " + input->second + ": '" + value + "'");
        if (!args.emplace(name, value).second)
            clientFault("The parameter '" + name + "' is given twice");
    }
    for (const auto& [name, type] : contract->inputs)
        if (!args.contains(name))
            clientFault("Missing parameter '" + name + "'");
    return {operation, args};
}

std::vector<std::pair<std::string, std::string>> inputsOf(const WsdlOperation& op)
{
    std::vector<std::pair<std::string, std::string>> inputs;
    for (const WsdlPart& part : op.inputs)
        inputs.emplace_back(part.name, localName(part.type.c_str()));
    return inputs;
}

} // namespace

struct DemoServices::Service
{
    std::string name;
    std::string targetNamespace;
    bool toolkit = false; // older rpc style: the response element is prefixed and unqualified parts
    std::function<std::string(const std::string& location)> wsdl;
    Handler handler;
    std::vector<std::string> operations;
    std::vector<OperationContract> contracts;
};

DemoServices::DemoServices()
{
    auto asmx = [this](AsmxService description, Handler handler) {
        auto service = std::make_shared<Service>();
        service->name = description.name;
        service->targetNamespace = description.targetNamespace;
        for (const WsdlOperation& op : description.operations) {
            service->operations.push_back(op.name);
            service->contracts.push_back({op.name, description.targetNamespace + op.name, description.targetNamespace,
                                          description.targetNamespace, false, inputsOf(op)});
        }
        service->wsdl = [description](const std::string& location) { return asmxWsdl(description, location); };
        service->handler = std::move(handler);
        m_services.push_back(service);
    };
    asmx(calculatorDescription(), &calculator);

    struct EventStore
    {
        std::mutex mutex;
        std::vector<std::pair<std::string, std::string>> events;
    };
    auto events = std::make_shared<EventStore>();
    asmx(eventLogDescription(), [events](const std::string& operation, const Arguments& args) -> std::string {
        std::lock_guard lock(events->mutex);
        if (operation == "LogEvent") {
            events->events.emplace_back(argument(args, "source"), argument(args, "message"));
            return {};
        }
        if (operation == "GetEventCount")
            return element("GetEventCountResult", std::to_string(events->events.size()));
        if (operation == "GetLastMessage") {
            const std::string source = argument(args, "source");
            for (auto it = events->events.rbegin(); it != events->events.rend(); ++it)
                if (it->first == source)
                    return element("GetLastMessageResult", it->second);
            return element("GetLastMessageResult", "");
        }
        unknownOperation(operation);
    });

    auto orderNumber = std::make_shared<std::atomic<int>>(1000);
    asmx(ordersDescription(), [orderNumber](const std::string& operation, const Arguments& args) -> std::string {
        if (operation == "ScheduleDelivery")
            return element("ScheduleDeliveryResult", argument(args, "orderId") + " on " + toDate(args, "day") +
                                                         ", not before " + trimmed(argument(args, "notBefore")));
        if (operation != "PlaceOrder")
            unknownOperation(operation);
        const std::string customer = argument(args, "customer");
        const int32_t quantity = toInt(args, "quantity");
        const double unitPrice = toDouble(args, "unitPrice");
        const bool express = toBool(args, "express");
        const std::string date = toDate(args, "deliveryDate");
        if (trimmed(customer).empty())
            clientFault("The customer must not be empty");
        if (quantity <= 0)
            clientFault("The quantity must be positive");
        if (!(unitPrice >= 0))
            clientFault("The unit price must not be negative");
        const double total = quantity * unitPrice + (express ? 10.0 : 0.0);
        const std::string id = "ORD-" + std::to_string(++*orderNumber);
        return "<PlaceOrderResult>" + element("OrderId", id) + element("Customer", customer) +
               element("Total", formatDouble(total)) + element("Express", express ? "true" : "false") +
               element("DeliveryDate", date) + "</PlaceOrderResult>";
    });
    asmx(temperatureDescription(), &temperature);

    auto inventory = std::make_shared<Service>();
    inventory->name = "Inventory";
    inventory->targetNamespace = "http://zel.example/demo/inventory";
    inventory->toolkit = true;
    for (const ToolkitClass& cls : inventoryClasses()) {
        for (const WsdlOperation& op : cls.operations) {
            inventory->operations.push_back(cls.name + "." + op.name);
            inventory->contracts.push_back({op.name, inventory->targetNamespace + "/action/" + cls.name + "." + op.name,
                                            inventory->targetNamespace + "/message/", "", true, inputsOf(op)});
        }
    }
    inventory->wsdl = [ns = inventory->targetNamespace](const std::string& location) {
        return toolkitWsdl("Inventory", ns, inventoryClasses(), location);
    };
    struct Stock
    {
        std::mutex mutex;
        std::map<std::string, int32_t> quantities{{"widget", 42}, {"gadget", 7}};
        std::map<std::string, double> prices{{"widget", 2.5}, {"gadget", 19.99}};
    };
    auto stock = std::make_shared<Stock>();
    inventory->handler = [stock](const std::string& operation, const Arguments& args) -> std::string {
        std::lock_guard lock(stock->mutex);
        const std::string item = argument(args, "item");
        if (operation == "GetStock") {
            const auto found = stock->quantities.find(item);
            return element("Result", std::to_string(found == stock->quantities.end() ? 0 : found->second));
        }
        if (operation == "SetStock") {
            const int32_t quantity = toInt(args, "quantity");
            if (quantity < 0)
                return element("Result", "false");
            stock->quantities[item] = quantity;
            return element("Result", "true");
        }
        if (operation == "GetPrice") {
            const auto found = stock->prices.find(item);
            if (found == stock->prices.end())
                clientFault("Unknown item '" + item + "'");
            return element("Result", formatDouble(found->second));
        }
        unknownOperation(operation);
    };
    m_services.push_back(inventory);
    m_registry = std::make_shared<DemoRegistry>();
    registerRoutes();
}

DemoServices::~DemoServices()
{
    stop();
}

bool DemoServices::isLoopback(const std::string& host)
{
    return host == "localhost" || host == "::1" || host.starts_with("127.");
}

std::vector<std::string> DemoServices::serviceNames() const
{
    std::vector<std::string> names;
    for (const auto& service : m_services)
        names.push_back(service->name);
    return names;
}

std::string DemoServices::baseUrl() const
{
    const std::string host = m_host.find(':') != std::string::npos ? "[" + m_host + "]" : m_host;
    return "http://" + host + ":" + std::to_string(m_port);
}

std::string DemoServices::serviceUrl(const std::string& name) const
{
    return baseUrl() + "/" + name + ".asmx";
}

std::string DemoServices::registryUrl() const
{
    return baseUrl() + kRegistryPath;
}

std::string DemoServices::wsdl(const std::string& name) const
{
    for (const auto& service : m_services)
        if (service->name == name)
            return service->wsdl(serviceUrl(name));
    return {};
}

void DemoServices::registerRoutes()
{
    m_server.Get("/", [this](const httplib::Request&, httplib::Response& res) {
        std::string html = "<html><head><title>Demo services</title></head><body><h1>Demo services</h1><ul>";
        for (const auto& service : m_services)
            html += "<li><a href=\"/" + service->name + ".asmx?WSDL\">" + service->name + "</a></li>";
        res.set_content(html + "</ul><p>UDDI v2 inquiry: " + std::string(kRegistryPath) + "</p></body></html>",
                        "text/html; charset=utf-8");
    });
    m_server.Post(kRegistryPath, [this](const httplib::Request& req, httplib::Response& res) {
        const DemoRegistry::Answer answer = m_registry->answer(req.body, baseUrl());
        res.status = answer.status;
        res.set_content(answer.body, "text/xml; charset=utf-8");
    });
    for (const auto& service : m_services) {
        const std::string path = "/" + service->name + ".asmx";
        m_server.Get(path, [this, service](const httplib::Request& req, httplib::Response& res) {
            const bool wantsWsdl = std::any_of(req.params.begin(), req.params.end(), [](const auto& param) {
                return Text::equalsIgnoringAsciiCase(param.first, "wsdl");
            });
            if (wantsWsdl) {
                res.set_content(service->wsdl(serviceUrl(service->name)), "text/xml; charset=utf-8");
                return;
            }
            std::string html = "<html><body><h1>" + service->name + "</h1><p>Operations:</p><ul>";
            for (const std::string& op : service->operations)
                html += "<li>" + escapeXml(op) + "</li>";
            res.set_content(html + "</ul><p><a href=\"?WSDL\">Service description</a></p></body></html>",
                            "text/html; charset=utf-8");
        });
        m_server.Post(path, [service](const httplib::Request& req, httplib::Response& res) {
            auto fault = [&](const Fault& f) {
                res.status = 500;
                res.set_content(soapEnvelope("<soap:Fault><faultcode>" + f.code + "</faultcode><faultstring>" +
                                             escapeXml(f.text) + "</faultstring></soap:Fault>"),
                                "text/xml; charset=utf-8");
            };
            try {
                const auto [operation, args] = checkedCall(service->contracts, req);
                const std::string content = service->handler(operation, args);
                std::string response;
                if (service->toolkit)
                    response = "<m:" + operation + "Response xmlns:m=\"" + service->targetNamespace + "/message/\">" +
                               content + "</m:" + operation + "Response>";
                else
                    response = "<" + operation + "Response xmlns=\"" + service->targetNamespace + "\">" + content +
                               "</" + operation + "Response>";
                res.set_content(soapEnvelope(response), "text/xml; charset=utf-8");
            } catch (const Fault& f) {
                fault(f);
            } catch (const std::exception& e) {
                fault(Fault{"soap:Server", e.what()});
            }
        });
    }
}

int DemoServices::start(int port, const std::string& host)
{
    if (!isLoopback(host))
        throw std::invalid_argument("The demo services listen on a loopback address only, not '" + host + "'");
    if (m_thread.joinable())
        throw std::runtime_error("The demo services are already running");
    const int bound = port == 0 ? m_server.bind_to_any_port(host) : (m_server.bind_to_port(host, port) ? port : -1);
    if (bound <= 0)
        throw std::runtime_error("Cannot listen on " + host + ":" + std::to_string(port));
    m_host = host == "localhost" ? "127.0.0.1" : host;
    m_port = bound;
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    // stop() only takes effect once the server loop runs, so start returns when it does.
    while (!m_server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return m_port;
}

void DemoServices::stop()
{
    if (!m_thread.joinable())
        return;
    m_server.stop();
    m_thread.join();
}

bool DemoServices::isRunning() const
{
    return m_thread.joinable() && m_server.is_running();
}

} // namespace zel::demo
