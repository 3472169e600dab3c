#include "DemoServices.h"

#include "DemoRegistry.h"
#include "DemoWsdl.h"

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
            "Takes orders: one parameter of every simple type, a structured confirmation back.",
            {{"PlaceOrder",
              {{"customer", "s:string"},
               {"quantity", "s:int"},
               {"unitPrice", "s:double"},
               {"express", "s:boolean"},
               {"deliveryDate", "s:date"}},
              {{"PlaceOrderResult", "tns:OrderConfirmation"}}}},
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

} // namespace

struct DemoServices::Service
{
    std::string name;
    std::string targetNamespace;
    bool toolkit = false; // older rpc style: the response element is prefixed and unqualified parts
    std::function<std::string(const std::string& location)> wsdl;
    Handler handler;
    std::vector<std::string> operations;
};

DemoServices::DemoServices()
{
    auto asmx = [this](AsmxService description, Handler handler) {
        auto service = std::make_shared<Service>();
        service->name = description.name;
        service->targetNamespace = description.targetNamespace;
        for (const WsdlOperation& op : description.operations)
            service->operations.push_back(op.name);
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
    for (const ToolkitClass& cls : inventoryClasses())
        for (const WsdlOperation& op : cls.operations)
            inventory->operations.push_back(cls.name + "." + op.name);
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
                std::string key = param.first;
                std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
                return key == "wsdl";
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
                pugi::xml_document document;
                if (!document.load_buffer(req.body.data(), req.body.size()))
                    clientFault("The request is not well-formed XML");
                const pugi::xml_node envelope = document.document_element();
                if (localName(envelope.name()) != "Envelope")
                    clientFault("The request is not a SOAP envelope");
                const pugi::xml_node body = childByLocalName(envelope, "Body");
                pugi::xml_node call;
                for (pugi::xml_node c = body.first_child(); c && !call; c = c.next_sibling())
                    if (c.type() == pugi::node_element)
                        call = c;
                if (!call)
                    clientFault("The SOAP body holds no operation");
                const std::string operation = localName(call.name());
                Arguments args;
                for (pugi::xml_node c = call.first_child(); c; c = c.next_sibling())
                    if (c.type() == pugi::node_element)
                        args.emplace(localName(c.name()), c.text().get());
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
