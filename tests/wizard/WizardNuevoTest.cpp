#include "WizardTestSupport.h"

#include "platform/script/vbscript/VBScriptParser.h"
#include "wizard/MemoryWizardControls.h"
#include "wizard/WizardNuevo.h"

#include <gtest/gtest.h>

namespace zel::wizard {
namespace {

using test::WizardEnvironment;

// One opening of the wizard on in-memory controls.
struct Opening
{
    explicit Opening(const std::string& stored = {})
    {
        wizard.applyDesignTexts();
        wizard.Form_Load("en", stored);
    }
    // Load of address, the timer's tick that follows it, and the tick of method (when given).
    void load(const std::string& address, const std::string& method = {})
    {
        controls.setText("txtWsdlUrl", address);
        wizard.cmdLoad_Click();
        wizard.timSoapLoadWsdl_Timer();
        controls::ITreeControl& tree = controls.tree();
        const controls::TreeItem service = tree.child(tree.root(), 0);
        for (int i = 0; i < tree.childCount(service); ++i)
            if (tree.text(tree.child(service, i)) == method)
                tree.setChecked(tree.child(service, i), true);
    }
    void next(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            wizard.cmdNext_Click();
    }
    std::string cell(int row, int column) { return controls.grid().cell(row, column); }

    MemoryWizardControls controls;
    WizardNuevo wizard{controls};
};

// The whole road on the demo calculator, then a reopening of what it wrote, finished unchanged.
TEST(WizardNuevo, RoadThroughFivePages_ThenReopenAndFinishGivesTheSameDefinition)
{
    WizardEnvironment env;
    Opening first;
    first.load("  " + test::demoServices().serviceUrl("Calculator") + "  ", "Add");
    EXPECT_EQ(first.controls.tree().itemCount(), 5);
    first.next();
    ASSERT_EQ(first.controls.selectedPage(), 2);
    EXPECT_EQ(first.controls.text("txtWsdlUrl2"), test::demoServices().serviceUrl("Calculator"));
    EXPECT_EQ(first.controls.text("txtReturnType2"), "int");
    first.next();
    ASSERT_EQ(first.controls.grid().rowCount(), 2);
    EXPECT_EQ(first.controls.gridAttributeList(), "[none]\tWeight\tDestination\tQuote");
    first.controls.grid().setCell(0, 2, "Weight");
    first.controls.grid().setCell(1, 3, "5");
    first.next();
    EXPECT_FALSE(first.controls.isVisible("lblMen1"));
    EXPECT_TRUE(first.controls.isEnabled("chkACE"));
    first.controls.setChecked("chkACE", true);
    first.wizard.chkACE_Click();
    first.controls.setText("pvAttributesReturn", "Quote");
    first.next();
    EXPECT_EQ(first.controls.text("cmdNext"), first.wizard.messages.msgFinish);
    first.controls.setChecked("chkProxySetting", true);
    first.wizard.chkProxySetting_Click();
    first.controls.setChecked("chkUseProxy", true);
    for (const auto& [box, value] :
         {std::pair{"txtProxyServer", "proxy.local"}, std::pair{"txtProxyPort", "3128"},
          std::pair{"txtProxyUser", "ana"}, std::pair{"txtProxyPassword", "s3cret"}, std::pair{"pvTimeOut", "30"}})
        first.controls.setText(box, value);
    first.next();
    ASSERT_FALSE(first.wizard.EvalCode.empty()) << env.module.log();
    EXPECT_TRUE(first.controls.isHidden());
    EXPECT_TRUE(script::vbscript::check(first.wizard.EvalCode).ok());

    const XmlNode definition = XmlNode::parse(first.wizard.definitionXml()).documentElement();
    EXPECT_EQ(definition.selectSingleNode("WebService/Wsdl/*").name(), "wsdl:definitions");
    for (const auto& [path, value] :
         {std::pair{"Method/Name", "Add"}, std::pair{"Method/Parameters/*[Name='a']/AtrId", "Weight"},
          std::pair{"Method/Parameters/*[Name='b']/DefValue", "5"}, std::pair{"Method/Return/AtrId", "Quote"},
          std::pair{"WebService/ACE", "1"}, std::pair{"Proxy/Server", "proxy.local"}, std::pair{"Proxy/Timeout", "30"}})
        EXPECT_EQ(definition.selectSingleNode(path).text(), value) << path;

    // Reopened from its own copy: no network, Next works at once, and Finish writes the same.
    Opening second(first.wizard.definitionXml());
    EXPECT_EQ(second.controls.text("lblMsg"), second.wizard.messages.msgWsdlLoad);
    EXPECT_EQ(second.cell(0, 2), "Weight");
    EXPECT_TRUE(second.controls.isChecked("chkUseProxy"));
    second.next(5);
    EXPECT_EQ(second.controls.selectedPage(), 5);
    EXPECT_EQ(test::withoutDates(second.wizard.EvalCode), test::withoutDates(first.wizard.EvalCode));
    EXPECT_EQ(test::withoutDates(second.wizard.definitionXml()), test::withoutDates(first.wizard.definitionXml()));
}

// A WSDL answered by fetch itself instead of the network.
void serve(Opening& opening, std::string wsdl)
{
    opening.wizard.setFetch([wsdl = std::move(wsdl)](const http::HttpRequest&, const http::HttpOptions&) {
        http::HttpResponse response;
        response.body = wsdl;
        return response;
    });
}

// What page 1 answers for addresses that give no usable WSDL, and the checks of Next.
TEST(WizardNuevo, PageOne_BadAddressesLeaveAnEmptyTreeAndNextSaysWhy)
{
    WizardEnvironment env;
    struct Case
    {
        const char* what;
        std::string body; // "" fetches the address for real
        std::string address;
        std::string method;
        int items;
        const char* expectedMessage;
    };
    const std::string calculator = test::demoServices().serviceUrl("Calculator");
    const Case cases[] = {
        {"unreachable", "", "http://127.0.0.1:1/Nothing.asmx", "", 0, "msgstrCargar"},
        {"not XML", "<html><body>Hello", calculator, "", 0, "msgstrCargar"},
        {"no service", "<wsdl:definitions xmlns:wsdl='http://schemas.xmlsoap.org/wsdl/'/>", calculator, "", 0,
         "msgstrCargar"},
        {"nothing ticked", "", calculator, "", 5, "msgstrMetodo"},
    };
    for (const Case& c : cases) {
        Opening opening;
        if (!c.body.empty())
            serve(opening, c.body);
        env.ui->shown.clear();
        opening.load(c.address, c.method);
        EXPECT_EQ(opening.controls.tree().itemCount(), c.items) << c.what;
        EXPECT_TRUE(opening.controls.isEnabled("cmdLoad")) << c.what;
        opening.next();
        EXPECT_EQ(opening.controls.selectedPage(), 1) << c.what;
        ASSERT_EQ(env.ui->shown.size(), 1u) << c.what;
        const std::string expected = std::string(c.expectedMessage) == "msgstrCargar"
                                         ? opening.wizard.messages.msgstrCargar
                                         : opening.wizard.messages.msgstrMetodo;
        EXPECT_EQ(env.ui->shown[0].text, expected) << c.what;
        EXPECT_EQ(env.ui->shown[0].icon, MessageIcon::Information) << c.what;
    }
}

// Names the schema forbids but a WSDL may carry, and a thousand operations in one tree.
TEST(WizardNuevo, OddNamesAndManyOperations_FillTheTreeAndGiveACheckedScript)
{
    WizardEnvironment env;
    Opening odd;
    serve(odd, test::readFile(std::filesystem::path(ZEL_TEST_DATA_DIR) / "wizard/odd-names.wsdl"));
    odd.load("http://127.0.0.1:1/Odd.asmx", "O'Brien");
    const controls::TreeItem service = odd.controls.tree().child(odd.controls.tree().root(), 0);
    ASSERT_EQ(odd.controls.tree().childCount(service), 2); // a comma inside a name does not split it
    EXPECT_EQ(odd.controls.tree().text(odd.controls.tree().child(service, 1)), "Split,Me");
    EXPECT_EQ(odd.controls.tree().text(odd.controls.tree().child(odd.controls.tree().root(), 0)), "Odd\"Service");
    odd.next(2);
    ASSERT_EQ(odd.controls.grid().rowCount(), 2) << env.module.log();
    EXPECT_EQ(odd.cell(0, 0), "say\"hi");
    EXPECT_EQ(odd.cell(1, 0), "a,b");
    odd.controls.grid().setCell(0, 2, "Weight");
    odd.controls.grid().setCell(1, 3, "7");
    odd.next(3);
    ASSERT_FALSE(odd.wizard.EvalCode.empty()) << env.module.log();
    EXPECT_TRUE(script::vbscript::check(odd.wizard.EvalCode).ok());

    std::string many = "<wsdl:definitions xmlns:wsdl='http://schemas.xmlsoap.org/wsdl/' "
                       "xmlns:s='http://www.w3.org/2001/XMLSchema'><wsdl:types><s:schema>";
    std::string messages;
    for (int i = 0; i < 1000; ++i) {
        const std::string op = "Op" + std::to_string(i);
        many += "<s:element name='" + op + "'/><s:element name='" + op +
                "Response'><s:complexType><s:sequence><s:element name='r' type='s:int'/></s:sequence>"
                "</s:complexType></s:element>";
        messages += "<wsdl:message name='" + op + "SoapIn'/><wsdl:message name='" + op + "SoapOut'/>";
    }
    many += "</s:schema></wsdl:types>" + messages + "<wsdl:service name='Many'/></wsdl:definitions>";
    Opening large;
    serve(large, many);
    large.load("http://127.0.0.1:1/Many.asmx", "Op999");
    EXPECT_EQ(large.controls.tree().itemCount(), 1001);
    large.next();
    EXPECT_EQ(large.controls.text("txtMethodName"), "Op999");
}

// A Load whose request cannot even be made is shown and logged, and the page is usable again.
TEST(WizardNuevo, LoadThatRaises_ReturnsThePageToIdle)
{
    WizardEnvironment env;
    Opening opening;
    opening.wizard.setFetch([](const http::HttpRequest&, const http::HttpOptions&) {
        http::HttpResponse response;
        response.error = http::HttpError::CannotCreate;
        response.message = "no transport";
        return response;
    });
    opening.load("http://127.0.0.1:1/x");
    EXPECT_FALSE(opening.wizard.isLoading());
    for (const char* button : {"cmdBack", "cmdNext", "cmdLoad", "cmdBrowse"})
        EXPECT_TRUE(opening.controls.isEnabled(button)) << button;
    EXPECT_FALSE(opening.controls.isTimerRunning());
    EXPECT_FALSE(opening.controls.isVisible("progbarWsdlLoad"));
    ASSERT_EQ(env.ui->shown.size(), 1u);
    EXPECT_EQ(env.ui->shown[0].icon, MessageIcon::Critical);
    EXPECT_NE(env.module.log().find("frmWizard.cmdLoad_Click()"), std::string::npos);
}

// Stored definitions the wizard cannot rebuild from: it opens anyway, with what it can keep.
TEST(WizardNuevo, Reopen_UnreadableOrStaleDefinitionsOpenWithTheStoredValues)
{
    WizardEnvironment env;
    Opening written;
    written.load(test::demoServices().serviceUrl("Calculator"), "Add");
    written.next(2);
    written.controls.grid().setCell(1, 2, "Destination");
    written.next(3);
    const std::string good = written.wizard.definitionXml();
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    const std::string noCopy =
        replaced(good.substr(good.find("<Wsdl>"), good.find("</Wsdl>") + 7 - good.find("<Wsdl>")), "<Wsdl/>");
    struct Case
    {
        const char* what;
        std::string stored;
        bool loaded; // the stored address came back
        bool guided; // lblMsg asks for a Load
        int rows;
    };
    const Case cases[] = {
        {"not XML", "<Definition><WebService>", false, false, 0},
        {"no WSDL copy", noCopy, true, true, 0},
        {"parameter renamed", replaced("<Name><![CDATA[b]]></Name>", "<Name><![CDATA[gone]]></Name>"), true, false, 2},
    };
    for (const Case& c : cases) {
        Opening opening(c.stored);
        EXPECT_EQ(opening.controls.text("txtWsdlUrl") == test::demoServices().serviceUrl("Calculator"), c.loaded)
            << c.what;
        EXPECT_EQ(opening.controls.text("lblMsg") == opening.wizard.messages.msgReloadWsdl, c.guided) << c.what;
        EXPECT_EQ(opening.controls.grid().rowCount(), c.rows) << c.what;
    }
    Opening stale(cases[2].stored);
    EXPECT_EQ(stale.cell(1, 2), "[none]"); // the renamed entry matched no row
    stale.next(5);
    EXPECT_EQ(XmlNode::parse(stale.wizard.definitionXml()).selectNodes("//Parameters/*").size(), 2u);
}

// An older definition whose copy is unprefixed goes through the tree loader.
TEST(WizardNuevo, Reopen_OlderUnprefixedCopyRebuildsTheTreeThroughTheTreeLoader)
{
    WizardEnvironment env;
    std::string copy = test::readFile(std::filesystem::path(ZEL_TEST_DATA_DIR) / "wsdl/toolkit-two-ports.wsdl");
    copy.erase(0, copy.find("<definitions"));
    Opening opening("<Definition><WebService><Path>http://old/</Path><Wsdl>" + copy +
                    "</Wsdl><ClassName>Cart</ClassName></WebService><Method><Name>AddItem</Name>"
                    "<Parameters><Parameter><Name>count</Name><DefValue>2</DefValue></Parameter></Parameters>"
                    "</Method></Definition>");
    EXPECT_EQ(opening.controls.tree().itemCount(), 5);
    EXPECT_EQ(opening.cell(1, 3), "2");
    EXPECT_EQ(opening.controls.text("lblMsg"), opening.wizard.messages.msgWsdlLoad);
}

// Catalogues that give no attributes leave "[none]" alone in both lists.
TEST(WizardNuevo, AttributeLists_EmptyOrMissingCatalogueGivesNoneAlone)
{
    for (const char* catalogue : {"<Attributes/>", ""}) {
        WizardEnvironment env(catalogue);
        Opening opening;
        opening.wizard.AttributesListLoad();
        opening.wizard.ReturnAttributesLoad();
        EXPECT_EQ(opening.controls.gridAttributeList(), "[none]") << catalogue;
        EXPECT_EQ(opening.controls.listItems("pvAttributesReturn"), std::vector<std::string>{"[none]"}) << catalogue;
    }
}

} // namespace
} // namespace zel::wizard
