#include "DemoServices.h"
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

// Posts a SOAP 1.1 call and returns the status and the text of the first element named result.
std::pair<int, std::string> call(const std::string& service, const std::string& body, const std::string& result)
{
    http::HttpRequest request;
    request.method = "POST";
    request.url = services().serviceUrl(service);
    request.headers = {{"Content-Type", "text/xml; charset=utf-8"}, {"SOAPAction", "\"x\""}};
    request.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                   "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" +
                   body + "</soap:Body></soap:Envelope>";
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
        {"OrderDesk", "PlaceOrder,"},
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
        {"Calculator", add.c_str(), "AddResult", 200, "42"},
        {"Calculator", sub.c_str(), "SubtractResult", 200, "-38"},
        {"Calculator", mul.c_str(), "MultiplyResult", 200, "-42"},
        {"Calculator", div.c_str(), "DivideResult", 200, "3.5"},
        {"Calculator", divZero.c_str(), "faultstring", 500, "Attempted to divide by zero."},
        {"Calculator", overflow.c_str(), "faultcode", 500, "soap:Client"},
        {"Calculator", notInt.c_str(), "faultcode", 500, "soap:Client"},
        {"TemperatureConverter",
         "<CelsiusToFahrenheit xmlns=\"http://zel.example/demo/temperature/\"><celsius>100</celsius>"
         "</CelsiusToFahrenheit>",
         "CelsiusToFahrenheitResult", 200, "212"},
        {"OrderDesk",
         "<PlaceOrder xmlns=\"http://zel.example/demo/orders/\"><customer>Ann</customer><quantity>3</quantity>"
         "<unitPrice>2.5</unitPrice><express>true</express><deliveryDate>2024-02-29</deliveryDate></PlaceOrder>",
         "Total", 200, "17.5"},
        {"OrderDesk",
         "<PlaceOrder xmlns=\"http://zel.example/demo/orders/\"><customer>Ann</customer><quantity>3</quantity>"
         "<unitPrice>2.5</unitPrice><express>true</express><deliveryDate>2023-02-29</deliveryDate></PlaceOrder>",
         "faultcode", 500, "soap:Client"},
        {"Inventory",
         "<m:GetStock xmlns:m=\"http://zel.example/demo/inventory/message/\"><item>widget</item></m:GetStock>",
         "Result", 200, "42"},
        {"Inventory",
         "<m:GetPrice xmlns:m=\"http://zel.example/demo/inventory/message/\"><item>gadget</item></m:GetPrice>",
         "Result", 200, "19.99"},
    };
    for (const Case& c : cases) {
        const auto [status, text] = call(c.service, c.body, c.result);
        EXPECT_EQ(status, c.status) << c.body;
        EXPECT_EQ(text, c.expected) << c.body;
    }
    // A call that returns nothing, seen through the operations that read its effect.
    call("EventLog",
         "<LogEvent xmlns=\"http://zel.example/demo/eventlog/\"><source>t</source><message>hi</message></LogEvent>",
         "LogEventResponse");
    EXPECT_EQ(call("EventLog",
                   "<GetLastMessage xmlns=\"http://zel.example/demo/eventlog/\"><source>t</source></GetLastMessage>",
                   "GetLastMessageResult")
                  .second,
              "hi");
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

TEST(ZelWsdl, AgainstTheDemoServices_PrintsOperationsParametersAndReturn)
{
    const std::string command =
        std::string(ZEL_BIN_DIR) + "/zel-wsdl " + services().serviceUrl("Calculator") + " Divide";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    const int status = ::pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(output, "service: Calculator\noperation: Add\noperation: Subtract\noperation: Multiply\n"
                      "operation: Divide\nreturn: double\nparam: a int\nparam: b int\n");

    const std::string missing =
        std::string(ZEL_BIN_DIR) + "/zel-wsdl " + services().serviceUrl("Inventory") + " 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(::system(missing.c_str())), 1);
    EXPECT_EQ(WEXITSTATUS(::system((std::string(ZEL_BIN_DIR) + "/zel-wsdl 2>/dev/null").c_str())), 2);
}
