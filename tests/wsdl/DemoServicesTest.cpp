#include "DemoServices.h"
#include "support/TestSupport.h"
#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTextBox.h"
#include "platform/controls/MemoryTree.h"
#include "platform/http/HttpClient.h"
#include "platform/xml/XmlNode.h"
#include "wsdl/WebService.h"
#include "wsdl/WebServiceDef.h"

#include <gtest/gtest.h>

#include <cstdio>

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
// text of the first element named result. envelope wraps the body ("%" marks its place).
std::pair<int, std::string>
call(const std::string& service, const char* action, const std::string& body, const std::string& result,
     const std::string& envelope = "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/"
                                   "soap/envelope/\" xmlns:xsd=\"http://www.w3.org/2001/"
                                   "XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-"
                                   "instance\"><soap:Body>%</soap:Body></soap:Envelope>")
{
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

} // namespace

TEST(DemoServices, Analyser_ListsTheCalculatorWithParametersAndReturnTypes)
{
    WebService analyser;
    controls::MemoryGrid grid;
    controls::MemoryTextBox returnType;
    analyser.pubdtMethodsParameters = &grid;
    analyser.pubtxtMethodReturnType = &returnType;
    analyser.strUrl = services().serviceUrl("Calculator");
    ASSERT_EQ(analyser.BuscarClasesWs(), "Calculator");
    EXPECT_EQ(analyser.BuscarMedotosWs("xsd,xsi,xs,s"), "Add,Subtract,Multiply,Divide,");
    for (const char* operation : {"Add", "Subtract", "Multiply", "Divide"}) {
        analyser.SelectedMethod = operation;
        analyser.Prefijos = "xsd,xsi,xs,s";
        analyser.ReturnType.clear();
        ASSERT_TRUE(analyser.BuscarParametrosRetorno()) << operation;
        analyser.WebServiceMethodParametersInputLoad();
        EXPECT_EQ(returnType.text(), std::string(operation) == "Divide" ? "double" : "int");
        ASSERT_EQ(grid.rowCount(), 2);
        EXPECT_EQ(grid.cell(0, 0) + " " + grid.cell(0, 1) + " " + grid.cell(1, 0) + " " + grid.cell(1, 1),
                  "a int b int");
    }
}

TEST(DemoServices, OtherStyles_AreReadAsDescribed)
{
    struct Case
    {
        const char* service;
        const char* methods;
    };
    const Case cases[] = {
        {"EventLog", "GetEventCount,GetLastMessage,"}, // LogEvent returns nothing: not listed
        {"OrderDesk", "PlaceOrder,ScheduleDelivery,"},
        {"TemperatureConverter", "CelsiusToFahrenheit,FahrenheitToCelsius,"},
        {"Inventory", ""},
    };
    for (const Case& c : cases) {
        WebService analyser;
        analyser.strUrl = services().serviceUrl(c.service);
        analyser.BuscarClasesWs();
        EXPECT_EQ(analyser.BuscarMedotosWs("xsd,xsi,xs,s"), c.methods) << c.service;
    }
    WebServiceDef def;
    controls::MemoryTree tree;
    controls::MemoryTextBox name;
    def.pubtvSoapComponent = &tree;
    def.pubtxtWsdlServiceName = &name;
    def.WebServiceClassLoad(services().wsdl("Inventory"), "Pricing", "GetPrice");
    ASSERT_EQ(tree.childCount(tree.root()), 2);
    EXPECT_EQ(tree.text(tree.child(tree.root(), 0)), "Inventory");
    EXPECT_EQ(tree.childCount(tree.child(tree.root(), 0)), 2);
    EXPECT_TRUE(tree.isChecked(tree.child(tree.child(tree.root(), 1), 0)));
}

TEST(DemoServices, SoapCalls_GetCorrectAnswersAndFaults)
{
    struct Case
    {
        const char* service;
        std::string action;
        const char* body;
        const char* result;
        int status;
        const char* expected;
    };
    const char* calc = " xmlns=\"http://zel.example/demo/calculator/\"";
    const std::string add = std::string("<Add") + calc + "><a>2</a><b>40</b></Add>";
    const std::string sub = std::string("<Subtract") + calc + "><a>2</a><b>40</b></Subtract>";
    const std::string mul = std::string("<Multiply") + calc + "><a>-6</a><b>7</b></Multiply>";
    const std::string div = std::string("<Divide") + calc + "><a>7</a><b>2</b></Divide>";
    const std::string divZero = std::string("<Divide") + calc + "><a>7</a><b>0</b></Divide>";
    const std::string overflow = std::string("<Multiply") + calc + "><a>2147483647</a><b>2</b></Multiply>";
    const std::string notInt = std::string("<Add") + calc + "><a>two</a><b>1</b></Add>";
    const Case cases[] = {
        {"Calculator", kCalc + "Add", add.c_str(), "AddResult", 200, "42"},
        {"Calculator", kCalc + "Subtract", sub.c_str(), "SubtractResult", 200, "-38"},
        {"Calculator", kCalc + "Multiply", mul.c_str(), "MultiplyResult", 200, "-42"},
        {"Calculator", kCalc + "Divide", div.c_str(), "DivideResult", 200, "3.5"},
        {"Calculator", kCalc + "Divide", divZero.c_str(), "faultstring", 500, "Attempted to divide by zero."},
        {"Calculator", kCalc + "Multiply", overflow.c_str(), "faultcode", 500, "soap:Client"},
        {"Calculator", kCalc + "Add", notInt.c_str(), "faultcode", 500, "soap:Client"},
        {"TemperatureConverter", "http://zel.example/demo/temperature/CelsiusToFahrenheit",
         "<CelsiusToFahrenheit xmlns=\"http://zel.example/demo/temperature/\"><celsius>100</celsius>"
         "</CelsiusToFahrenheit>",
         "CelsiusToFahrenheitResult", 200, "212"},
        {"OrderDesk", kOrders + "PlaceOrder",
         "<PlaceOrder xmlns=\"http://zel.example/demo/orders/\"><customer>Ann</customer><quantity>3</quantity>"
         "<unitPrice>2.5</unitPrice><express>true</express><deliveryDate>2024-02-29</deliveryDate></PlaceOrder>",
         "Total", 200, "17.5"},
        {"OrderDesk", kOrders + "PlaceOrder",
         "<PlaceOrder xmlns=\"http://zel.example/demo/orders/\"><customer>Ann</customer><quantity>3</quantity>"
         "<unitPrice>2.5</unitPrice><express>true</express><deliveryDate>2023-02-29</deliveryDate></PlaceOrder>",
         "faultcode", 500, "soap:Client"},
        {"Inventory", kInventory + "/action/Inventory.GetStock",
         "<m:GetStock xmlns:m=\"http://zel.example/demo/inventory/message/\"><item "
         "xsi:type=\"xsd:string\">widget</item>"
         "</m:GetStock>",
         "Result", 200, "42"},
        {"Inventory", kInventory + "/action/Pricing.GetPrice",
         "<m:GetPrice xmlns:m=\"http://zel.example/demo/inventory/message/\"><item "
         "xsi:type=\"xsd:string\">gadget</item>"
         "</m:GetPrice>",
         "Result", 200, "19.99"},
    };
    for (const Case& c : cases) {
        const auto [status, text] = call(c.service, c.action.c_str(), c.body, c.result);
        EXPECT_EQ(status, c.status) << c.body;
        EXPECT_EQ(text, c.expected) << c.body;
    }
    // A call that returns nothing, seen through the operations that read its effect.
    const std::string log = "http://zel.example/demo/eventlog/";
    call("EventLog", (log + "LogEvent").c_str(),
         "<LogEvent xmlns=\"http://zel.example/demo/eventlog/\"><source>t</source><message>hi</message></LogEvent>",
         "LogEventResponse");
    EXPECT_EQ(call("EventLog", (log + "GetLastMessage").c_str(),
                   "<GetLastMessage xmlns=\"http://zel.example/demo/eventlog/\"><source>t</source></GetLastMessage>",
                   "GetLastMessageResult")
                  .second,
              "hi");
}

// A request a strict server would refuse gets a client fault that names the problem.
TEST(DemoServices, MalformedRequests_AreRefusedWithAFaultNamingTheProblem)
{
    struct Case
    {
        const char* service;
        const char* action; // nullptr: no SOAPAction header
        std::string body;
        const char* problem;
        std::string envelope = {};
    };
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
    const Case cases[] = {
        {"Calculator", addAction.c_str(), add + a + b + "</Add>", "SOAP 1.1 envelope",
         "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body>%</e:Body></e:Envelope>"},
        {"Calculator", "Add", add + a + b + "</Add>", "SOAPAction"},
        {"Calculator", nullptr, add + a + b + "</Add>", "SOAPAction"},
        {"Calculator", addAction.c_str(), "<Add>" + a + b + "</Add>", "namespace"},
        {"Calculator", addAction.c_str(), add + "<a xmlns=\"\">2</a>" + b + "</Add>", "namespace"},
        {"Calculator", addAction.c_str(), add + a + "</Add>", "Missing parameter 'b'"},
        {"Calculator", addAction.c_str(), add + a + b + "<c>1</c></Add>", "no parameter 'c'"},
        {"Calculator", addAction.c_str(), add + a + a + b + "</Add>", "twice"},
        {"Calculator", addAction.c_str(), add + "<a>2.0</a>" + b + "</Add>", "int"},
        {"Calculator", addAction.c_str(), add + a + b + "</Add><x/>", "more than one"},
        {"OrderDesk", orderAction.c_str(), order + "<express>yes</express><deliveryDate>2024-05-01</deliveryDate>",
         "boolean"},
        {"OrderDesk", orderAction.c_str(),
         order + "<express>true</express><deliveryDate>2024-05-01T00:00:00</deliveryDate>", "date"},
        {"OrderDesk", scheduleAction.c_str(), schedule + "<day>2024-05-01</day><notBefore>2024-05-01</notBefore>",
         "dateTime"},
        {"Inventory", stockAction.c_str(), stock + "<item>widget</item></m:GetStock>", "xsi:type"},
        {"Inventory", stockAction.c_str(), stock + "<item xsi:type=\"xsd:int\">widget</item></m:GetStock>", "xsi:type"},
    };
    for (const Case& c : cases) {
        std::string body = c.body;
        if (body.starts_with("<PlaceOrder"))
            body += "</PlaceOrder>";
        if (body.starts_with("<ScheduleDelivery"))
            body += "</ScheduleDelivery>";
        const auto [status, fault] = c.envelope.empty() ? call(c.service, c.action, body, "faultstring")
                                                        : call(c.service, c.action, body, "faultstring", c.envelope);
        EXPECT_EQ(status, 500) << body;
        EXPECT_NE(fault.find(c.problem), std::string::npos) << body << ": " << fault;
    }
    // The same calls written correctly are answered.
    EXPECT_EQ(call("OrderDesk", scheduleAction.c_str(),
                   schedule + "<day>2024-05-01</day><notBefore>2024-05-01T08:30:00</notBefore></ScheduleDelivery>",
                   "ScheduleDeliveryResult"),
              std::make_pair(200, std::string("X on 2024-05-01, not before 2024-05-01T08:30:00")));
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

// The output and exit status of a command.
std::pair<std::string, int> run(const std::string& command)
{
    FILE* pipe = ::popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    return {output, pipe == nullptr ? -1 : WEXITSTATUS(::pclose(pipe))};
}

TEST(ZelWsdl, AgainstTheDemoServices_PrintsOperationsParametersAndReturn)
{
    const std::string zelWsdl = std::string(ZEL_BIN_DIR) + "/zel-wsdl ";
    EXPECT_EQ(run(zelWsdl + services().serviceUrl("Calculator") + " Divide"),
              std::make_pair(std::string("service: Calculator\noperation: Add\noperation: Subtract\n"
                                         "operation: Multiply\noperation: Divide\nreturn: double\nparam: a int\n"
                                         "param: b int\n"),
                             0));

    // The analyser fails on the second input element: what it found first is printed all the
    // same, the error follows on stderr.
    demo::DemoServices host;
    host.server().Get("/missing.wsdl", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(zel::test::fixture("wsdl/missing-type.wsdl"), "text/xml");
    });
    host.start();
    const auto [output, status] = run(zelWsdl + host.baseUrl() + "/missing.wsdl Op 2>&1");
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(
        output.starts_with("service: Missing\noperation: Op\nreturn: int\nparam: first string\nzel-wsdl: error "))
        << output;

    const std::string missing =
        std::string(ZEL_BIN_DIR) + "/zel-wsdl " + services().serviceUrl("Inventory") + " 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(::system(missing.c_str())), 1);
    EXPECT_EQ(WEXITSTATUS(::system((std::string(ZEL_BIN_DIR) + "/zel-wsdl 2>/dev/null").c_str())), 2);
}
