#include "DemoServices.h"
#include "WsdlTestSupport.h"
#include "platform/controls/MemoryTextBox.h"
#include "platform/http/HttpClient.h"
#include "platform/xml/XmlNode.h"
#include "support/TestSupport.h"
#include "wsdl/WebServiceDef.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace zel;

namespace {

demo::DemoServices& services()
{
    static demo::DemoServices instance;
    if (!instance.isRunning())
        instance.start();
    return instance;
}

const std::string kCalc = "http://zel.example/demo/calculator/";
const std::string kOrders = "http://zel.example/demo/orders/";
const std::string kInventory = "http://zel.example/demo/inventory";

// Posts a SOAP 1.1 call with that SOAPAction (none for nullptr) and returns the status and the
// text of the first element named result. envelope wraps the body ("%" marks its place; empty:
// the SOAP 1.1 envelope).
std::pair<int, std::string> call(const std::string& service, const char* action, const std::string& body,
                                 const std::string& result, std::string envelope = {})
{
    if (envelope.empty())
        envelope = "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" xmlns:xsd=\"http://"
                   "www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
                   "<soap:Body>%</soap:Body></soap:Envelope>";
    http::HttpRequest request;
    request.method = "POST";
    request.url = services().serviceUrl(service);
    request.headers = {{"Content-Type", "text/xml; charset=utf-8"}};
    if (action != nullptr)
        request.headers.push_back({"SOAPAction", "\"" + std::string(action) + "\""});
    request.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + envelope.substr(0, envelope.find('%')) + body +
                   envelope.substr(envelope.find('%') + 1);
    const http::HttpResponse response = http::HttpClient::send(request);
    EXPECT_TRUE(response.ok()) << response.message;
    const XmlNode document = XmlNode::parse(response.body);
    EXPECT_FALSE(document.isNone()) << response.body;
    return {response.status, document.selectSingleNode("//*[local-name()='" + result + "']").text()};
}

// A call of operation in the document style: the action is the namespace and the operation name,
// the body one element named after the operation in that namespace.
std::pair<int, std::string> call(const std::string& service, const std::string& ns, const std::string& operation,
                                 const std::string& arguments, const std::string& result)
{
    return call(service, (ns + operation).c_str(),
                "<" + operation + " xmlns=\"" + ns + "\">" + arguments + "</" + operation + ">", result);
}

} // namespace

TEST(DemoServices, SoapCalls_GetCorrectAnswersAndFaults)
{
    const std::string temperature = "http://zel.example/demo/temperature/";
    const std::string orders = "<customer>Ann</customer><quantity>3</quantity><unitPrice>2.5</unitPrice>"
                               "<express>true</express><deliveryDate>";
    // service, namespace, operation, arguments, element read, status, its text
    const std::tuple<const char*, std::string, const char*, std::string, const char*, int, const char*> cases[] = {
        {"Calculator", kCalc, "Add", "<a>2</a><b>40</b>", "AddResult", 200, "42"},
        {"Calculator", kCalc, "Subtract", "<a>2</a><b>40</b>", "SubtractResult", 200, "-38"},
        {"Calculator", kCalc, "Multiply", "<a>-6</a><b>7</b>", "MultiplyResult", 200, "-42"},
        {"Calculator", kCalc, "Divide", "<a>7</a><b>2</b>", "DivideResult", 200, "3.5"},
        {"Calculator", kCalc, "Divide", "<a>7</a><b>0</b>", "faultstring", 500, "Attempted to divide by zero."},
        {"Calculator", kCalc, "Multiply", "<a>2147483647</a><b>2</b>", "faultcode", 500, "soap:Client"},
        {"Calculator", kCalc, "Add", "<a>two</a><b>1</b>", "faultcode", 500, "soap:Client"},
        {"TemperatureConverter", temperature, "CelsiusToFahrenheit", "<celsius>100</celsius>",
         "CelsiusToFahrenheitResult", 200, "212"},
        {"OrderDesk", kOrders, "PlaceOrder", orders + "2024-02-29</deliveryDate>", "Total", 200, "17.5"},
        {"OrderDesk", kOrders, "PlaceOrder", orders + "2023-02-29</deliveryDate>", "faultcode", 500, "soap:Client"},
        {"OrderDesk", kOrders, "ScheduleDelivery",
         "<orderId>X</orderId><day>2024-05-01</day><notBefore>2024-05-01T08:30:00</notBefore>",
         "ScheduleDeliveryResult", 200, "X on 2024-05-01, not before 2024-05-01T08:30:00"},
    };
    for (const auto& [service, ns, operation, arguments, result, status, expected] : cases)
        EXPECT_EQ(call(service, ns, operation, arguments, result), std::make_pair(status, std::string(expected)))
            << operation << ": " << arguments;

    // The encoded style, its actions named after class and operation.
    for (const auto& [operation, item, price] :
         {std::tuple{"Inventory.GetStock", "widget", "42"}, std::tuple{"Pricing.GetPrice", "gadget", "19.99"}}) {
        const std::string name = std::string(operation).substr(std::string(operation).find('.') + 1);
        EXPECT_EQ(call("Inventory", (kInventory + "/action/" + operation).c_str(),
                       "<m:" + name + " xmlns:m=\"" + kInventory + "/message/\"><item xsi:type=\"xsd:string\">" + item +
                           "</item></m:" + name + ">",
                       "Result"),
                  std::make_pair(200, std::string(price)));
    }
    // The same WSDL loads in the older tree loader as its classes with their operations.
    WebServiceDef def;
    controls::MemoryTree tree;
    controls::MemoryTextBox name;
    def.pubtvSoapComponent = &tree;
    def.pubtxtWsdlServiceName = &name;
    def.WebServiceClassLoad(services().wsdl("Inventory"), "Pricing", "GetPrice");
    EXPECT_EQ(wsdltest::branches(tree), "Inventory(GetStock SetStock) Pricing+(GetPrice+)");
    // A call that returns nothing, seen through the operation that reads its effect.
    const std::string log = "http://zel.example/demo/eventlog/";
    call("EventLog", log, "LogEvent", "<source>t</source><message>hi</message>", "LogEventResponse");
    EXPECT_EQ(call("EventLog", log, "GetLastMessage", "<source>t</source>", "GetLastMessageResult").second, "hi");
}

// A request a strict server would refuse gets a client fault that names the problem.
TEST(DemoServices, MalformedRequests_AreRefusedWithAFaultNamingTheProblem)
{
    const std::string a = "<a>2</a>", b = "<b>40</b>";
    const std::string add = "<Add xmlns=\"" + kCalc + "\">";
    const std::string order = "<PlaceOrder xmlns=\"" + kOrders +
                              "\"><customer>Ann</customer><quantity>3</quantity>"
                              "<unitPrice>2.5</unitPrice>";
    const std::string schedule = "<ScheduleDelivery xmlns=\"" + kOrders + "\"><orderId>X</orderId>";
    const std::string stock = "<m:GetStock xmlns:m=\"" + kInventory + "/message/\">";
    const std::string addAction = kCalc + "Add", orderAction = kOrders + "PlaceOrder";
    const std::string scheduleAction = kOrders + "ScheduleDelivery";
    const std::string stockAction = kInventory + "/action/Inventory.GetStock";
    // service, SOAPAction (nullptr: none), body, what the fault names, envelope (empty: SOAP 1.1)
    const std::tuple<const char*, const char*, std::string, const char*, std::string> cases[] = {
        {"Calculator", addAction.c_str(), add + a + b + "</Add>", "SOAP 1.1 envelope",
         "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body>%</e:Body></e:Envelope>"},
        {"Calculator", "Add", add + a + b + "</Add>", "SOAPAction", ""},
        {"Calculator", nullptr, add + a + b + "</Add>", "SOAPAction", ""},
        {"Calculator", addAction.c_str(), "<Add>" + a + b + "</Add>", "namespace", ""},
        {"Calculator", addAction.c_str(), add + "<a xmlns=\"\">2</a>" + b + "</Add>", "namespace", ""},
        {"Calculator", addAction.c_str(), add + a + "</Add>", "Missing parameter 'b'", ""},
        {"Calculator", addAction.c_str(), add + a + b + "<c>1</c></Add>", "no parameter 'c'", ""},
        {"Calculator", addAction.c_str(), add + a + a + b + "</Add>", "twice", ""},
        {"Calculator", addAction.c_str(), add + "<a>2.0</a>" + b + "</Add>", "int", ""},
        {"Calculator", addAction.c_str(), add + a + b + "</Add><x/>", "more than one", ""},
        {"OrderDesk", orderAction.c_str(), order + "<express>yes</express><deliveryDate>2024-05-01</deliveryDate>",
         "boolean", ""},
        {"OrderDesk", orderAction.c_str(),
         order + "<express>true</express><deliveryDate>2024-05-01T00:00:00</deliveryDate>", "date", ""},
        {"OrderDesk", scheduleAction.c_str(), schedule + "<day>2024-05-01</day><notBefore>2024-05-01</notBefore>",
         "dateTime", ""},
        {"Inventory", stockAction.c_str(), stock + "<item>widget</item></m:GetStock>", "xsi:type", ""},
        {"Inventory", stockAction.c_str(), stock + "<item xsi:type=\"xsd:int\">widget</item></m:GetStock>", "xsi:type",
         ""},
    };
    for (const auto& [service, action, given, problem, envelope] : cases) {
        std::string body = given;
        if (body.starts_with("<PlaceOrder"))
            body += "</PlaceOrder>";
        if (body.starts_with("<ScheduleDelivery"))
            body += "</ScheduleDelivery>";
        const auto [status, fault] = call(service, action, body, "faultstring", envelope);
        EXPECT_EQ(status, 500) << body;
        EXPECT_NE(fault.find(problem), std::string::npos) << body << ": " << fault;
    }
}

TEST(DemoServices, ListensOnLoopbackOnly)
{
    demo::DemoServices other;
    EXPECT_THROW(other.start(0, "0.0.0.0"), std::invalid_argument);
    EXPECT_THROW(other.start(0, "192.168.1.10"), std::invalid_argument);
    const int port = other.start();
    EXPECT_GT(port, 0);
    EXPECT_NE(port, services().port());
    other.stop();
    EXPECT_FALSE(other.isRunning());
}

// zel-wsdl runs the analyser the wizard runs: the operations of each service that return a
// typed value and, for a calculator operation, its two int parameters and its return type.
TEST(ZelWsdl, AgainstTheDemoServices_PrintsOperationsParametersAndReturn)
{
    const std::string zelWsdl = std::string(ZEL_BIN_DIR) + "/zel-wsdl ";
    const auto url = [](const char* service) { return services().serviceUrl(service); };
    const std::string calculator =
        "service: Calculator\noperation: Add\noperation: Subtract\noperation: Multiply\noperation: Divide\n";
    // arguments, output, exit status
    const std::tuple<std::string, std::string, int> cases[] = {
        {url("Calculator") + " Add", calculator + "return: int\nparam: a int\nparam: b int\n", 0},
        {url("Calculator") + " Divide", calculator + "return: double\nparam: a int\nparam: b int\n", 0},
        // LogEvent returns nothing: not listed
        {url("EventLog"), "service: EventLog\noperation: GetEventCount\noperation: GetLastMessage\n", 0},
        {url("OrderDesk"), "service: OrderDesk\noperation: PlaceOrder\noperation: ScheduleDelivery\n", 0},
        {url("TemperatureConverter"),
         "service: TemperatureConverter\noperation: CelsiusToFahrenheit\noperation: FahrenheitToCelsius\n", 0},
        {url("Inventory"), "", 1}, // the older style has no service the analyser knows
        {"", "", 2},
    };
    const test::TempDir dir;
    for (const auto& [arguments, output, status] : cases) {
        const test::ProgramRun run = test::runProgram(zelWsdl + arguments, dir);
        EXPECT_EQ(run.out, output) << arguments;
        EXPECT_EQ(run.exit, status) << arguments;
    }

    // The analyser fails on the second input element: what it found first is printed all the
    // same, the error follows on stderr.
    demo::DemoServices host;
    host.server().Get("/missing.wsdl", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(zel::test::fixture("wsdl/missing-type.wsdl"), "text/xml");
    });
    host.start();
    const test::ProgramRun run = test::runProgram(zelWsdl + host.baseUrl() + "/missing.wsdl Op", dir);
    EXPECT_EQ(run.exit, 1);
    EXPECT_EQ(run.out, "service: Missing\noperation: Op\nreturn: int\nparam: first string\n");
    EXPECT_TRUE(run.err.starts_with("zel-wsdl: error ")) << run.err;
}
