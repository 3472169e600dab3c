#include "WizardTestSupport.h"

#include "platform/script/vbscript/VBScriptParser.h"
#include "platform/xml/XmlNode.h"
#include "wizard/MemoryWizardControls.h"
#include "wizard/Wizard.h"
#include "wizard/WizardNuevo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>
#include <tuple>
#include <type_traits>

namespace zel::wizard {
namespace {

using namespace std::chrono_literals;
using test::WizardEnvironment;

// One opening of a wizard on in-memory controls.
template <class W> struct Opening
{
    explicit Opening(const std::string& stored = {})
    {
        wizard.applyDesignTexts();
        wizard.Form_Load("en", stored);
    }
    // Load of address, then the timer's ticks until the page is idle again or the window closed (ten
    // seconds at most).
    void load(const std::string& address)
    {
        controls.setText("txtWsdlUrl", address);
        wizard.cmdLoad_Click();
        for (auto until = std::chrono::steady_clock::now() + 10s;
             controls.isTimerRunning() && !controls.isClosed() && std::chrono::steady_clock::now() < until;
             std::this_thread::sleep_for(10ms))
            wizard.timSoapLoadWsdl_Timer();
    }
    // Ticks or clears the item text under the top item parent, as a click on its box does.
    void tick(const std::string& parent, const std::string& text, bool ticked = true)
    {
        controls::ITreeControl& tree = controls.tree();
        for (int i = 0; i < tree.childCount(tree.root()); ++i) {
            const controls::TreeItem top = tree.child(tree.root(), i);
            for (int j = 0; j < tree.childCount(top) && tree.text(top) == parent; ++j) {
                const controls::TreeItem item = tree.child(top, j);
                if (tree.text(item) != text)
                    continue;
                tree.setChecked(item, ticked);
                if constexpr (std::is_same_v<W, Wizard>)
                    wizard.tvSoapComponent_AfterCheckBoxStateChanged(item);
                return;
            }
        }
        ADD_FAILURE() << "no item " << parent << "/" << text;
    }
    void next(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            wizard.cmdNext_Click();
    }
    std::string cell(int row, int column) { return controls.grid().cell(row, column); }

    MemoryWizardControls controls;
    W wizard{controls};
};
using Nuevo = Opening<WizardNuevo>;
using Older = Opening<Wizard>;

// What fetch answers instead of the network: body, or for "" a request that could not be made.
// With closing, the user closes the wizard while the answer is on its way.
void serve(Nuevo& opening, const std::string& body, bool closing = false)
{
    opening.wizard.setFetch([&opening, body, closing](const http::HttpRequest&, const http::HttpOptions&) {
        if (closing)
            opening.wizard.cmdCancel_Click();
        http::HttpResponse response;
        response.error = body.empty() ? http::HttpError::CannotCreate : http::HttpError::None;
        response.message = body.empty() ? "no transport" : "";
        response.body = body;
        return response;
    });
}

// What page 1 answers for addresses that give no usable WSDL, or whose request cannot even be made
// (shown and logged), and the checks of Next. Each load leaves the page idle. A wizard closed while
// the WSDL is on its way fills nothing; names the schema forbids but a WSDL may carry fill the tree
// and give a checked script.
TEST(WizardNuevo, PageOne_BadAddressesLeaveAnIdlePageAndNextSaysWhy_OddNamesGiveACheckedScript)
{
    WizardEnvironment env;
    const std::string calculator = test::demoServices().serviceUrl("Calculator");
    // What the row is, what fetch answers (none: the address is fetched for real; "": the request
    // cannot be made), the address, the operations shown under the service, and whether Next asks
    // for a method rather than for a Load.
    const std::vector<std::tuple<const char*, std::optional<std::string>, std::string, int, bool>> cases = {
        {"unreachable", {}, "http://127.0.0.1:1/Nothing.asmx", 0, false},
        {"not XML", "<html><body>Hello", calculator, 0, false},
        {"no service", "<wsdl:definitions xmlns:wsdl='http://schemas.xmlsoap.org/wsdl/'/>", calculator, 0, false},
        {"request not made", "", calculator, 0, false},
        {"nothing ticked", {}, "  " + calculator + "  ", 4, true},
    };
    for (const auto& [what, answer, address, operations, asksForMethod] : cases) {
        Nuevo opening;
        if (answer)
            serve(opening, *answer);
        env.ui->shown.clear();
        opening.load(address);
        const controls::ITreeControl& tree = opening.controls.tree();
        EXPECT_EQ(tree.childCount(tree.child(tree.root(), 0)), operations) << what;
        EXPECT_FALSE(opening.wizard.isLoading() || opening.controls.isTimerRunning() ||
                     opening.controls.isVisible("progbarWsdlLoad"))
            << what;
        for (const char* button : {"cmdBack", "cmdNext", "cmdLoad", "cmdBrowse"})
            EXPECT_TRUE(opening.controls.isEnabled(button)) << what << ": " << button;
        const bool raised = answer && answer->empty();
        ASSERT_EQ(env.ui->shown.size(), raised ? 1u : 0u) << what;
        if (raised) {
            EXPECT_EQ(env.ui->shown[0].icon, MessageIcon::Critical);
            EXPECT_NE(env.module.log().find("frmWizard.cmdLoad_Click()"), std::string::npos);
            opening.wizard.cmdLoad_Click(); // idle again at once, before any tick of the timer
            EXPECT_FALSE(opening.controls.isTimerRunning() || opening.controls.isBusyPointer());
        }
        opening.next();
        EXPECT_EQ(opening.controls.selectedPage(), 1) << what;
        ASSERT_EQ(env.ui->shown.size(), raised ? 3u : 1u) << what;
        EXPECT_EQ(env.ui->shown.back().text,
                  asksForMethod ? opening.wizard.messages.msgstrMetodo : opening.wizard.messages.msgstrCargar)
            << what;
        EXPECT_EQ(env.ui->shown.back().icon, MessageIcon::Information) << what;
    }

    // Closed while the WSDL is on its way: the answer that comes after fills nothing.
    const std::string oddWsdl = test::readFile(std::filesystem::path(ZEL_TEST_DATA_DIR) / "wizard/odd-names.wsdl");
    Nuevo closed;
    serve(closed, oddWsdl, true);
    closed.load("http://127.0.0.1:1/Odd.asmx");
    EXPECT_TRUE(closed.controls.isClosed());
    EXPECT_EQ(closed.controls.tree().itemCount(), 0);

    // Names the schema forbids but a WSDL may carry fill the tree and give a checked script.
    Nuevo odd;
    serve(odd, oddWsdl);
    odd.load("http://127.0.0.1:1/Odd.asmx");
    odd.tick("Odd\"Service", "O'Brien");
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
}

// Stored definitions the wizard cannot rebuild from open anyway, with what they keep; an older
// definition whose copy is unprefixed goes through the tree loader.
TEST(WizardNuevo, Reopen_UnreadableStaleOrOlderDefinitionsOpenWithTheStoredValues)
{
    WizardEnvironment env;
    const std::string calculator = test::demoServices().serviceUrl("Calculator");
    Nuevo written;
    written.load(calculator);
    written.tick("Calculator", "Divide"); // the last operation
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
    std::string older = test::readFile(std::filesystem::path(ZEL_TEST_DATA_DIR) / "wsdl/toolkit-two-ports.wsdl");
    older = "<Definition><WebService><Path>http://old/</Path><Wsdl>" + older.substr(older.find("<definitions")) +
            "</Wsdl><ClassName>Cart</ClassName></WebService><Method><Name>AddItem</Name><Parameters><Parameter>"
            "<Name>count</Name><DefValue>2</DefValue></Parameter></Parameters></Method></Definition>";
    // What the row is, the stored definition, the address shown, whether lblMsg asks for a Load,
    // the tree's items and the grid's rows.
    const std::vector<std::tuple<const char*, std::string, std::string, bool, int, int>> cases = {
        {"not XML", "<Definition><WebService>", "", false, 0, 0},
        {"no WSDL copy", noCopy, calculator, true, 0, 0},
        {"parameter renamed", replaced("<Name><![CDATA[b]]></Name>", "<Name><![CDATA[gone]]></Name>"), calculator,
         false, 5, 2},
        {"older unprefixed copy", older, "http://old/", false, 5, 2},
    };
    for (const auto& [what, stored, address, guided, items, rows] : cases) {
        Nuevo opening(stored);
        EXPECT_EQ(opening.controls.text("txtWsdlUrl"), address) << what;
        EXPECT_EQ(opening.controls.text("lblMsg") == opening.wizard.messages.msgReloadWsdl, guided) << what;
        EXPECT_EQ(opening.controls.tree().itemCount(), items) << what;
        EXPECT_EQ(opening.controls.grid().rowCount(), rows) << what;
    }
    EXPECT_EQ(Nuevo(older).cell(1, 3), "2");
    Nuevo stale(std::get<1>(cases[2]));
    EXPECT_EQ(stale.cell(1, 2), "[none]"); // the renamed entry matched no row
    stale.next(5);
    EXPECT_TRUE(stale.controls.isHidden()); // Finish closes the wizard
    EXPECT_EQ(XmlNode::parse(stale.wizard.definitionXml()).selectNodes("//Parameters/*").size(), 2u);
}

// The older wizard on the older-style demo service. Loads that give no document leave the page
// idle: nothing typed starts nothing and changes nothing; a server that never answers is ended by
// the request's time-out, the tree emptied and the user told; a page that is not XML empties the
// tree without a word. Then tick, untick, tick another (the last change wins and the grid follows
// at once), the page checks (an activity without a catalogue offers "[none]" alone), and Finish
// taking every named row and no row past the last: the definition keeps the loaded WSDL and the
// script passes the VBScript check.
TEST(Wizard, RoadOnAnOlderStyleService_FailedLoadsLeaveThePageIdle_LastTickChangeWins_FinishTakesEveryNamedRow)
{
    test::WizardEnvironment env("");
    test::RawServer silent(&test::RawServer::hang);
    test::RawServer page([](int socket, const std::atomic<bool>&) { // a text that is not XML
        test::RawServer::readHeaders(socket);
        test::RawServer::write(socket, "HTTP/1.1 200 OK\r\nContent-Length: 14\r\n\r\nmoved & closed");
    });
    const std::string inventory = test::demoServices().serviceUrl("Inventory") + "?WSDL";
    Older o;
    http::HttpOptions shortWait;
    shortWait.timeout = 300ms;
    o.wizard.setLoadOptions(shortWait);
    o.next();
    ASSERT_EQ(env.ui->shown.size(), 1u);
    EXPECT_EQ(env.ui->shown[0].text, o.wizard.messages.msgNoMethod);

    // The address loaded, the tree items then (two classes, three methods), and whether the user
    // is told.
    const std::vector<std::tuple<std::string, int, bool>> loads = {
        {inventory, 5, false},
        {"   ", 5, false},
        {silent.url("/Slow.asmx?WSDL"), 0, true},
        {inventory, 5, false},
        {page.url("/page"), 0, false},
        {inventory, 5, false},
    };
    for (const auto& [address, items, told] : loads) {
        SCOPED_TRACE(address);
        env.ui->shown.clear();
        o.load(address);
        EXPECT_FALSE(o.controls.isTimerRunning() || o.wizard.isLoadRunning() ||
                     o.controls.isVisible("progbarWsdlLoad"));
        EXPECT_TRUE(o.controls.isEnabled("cmdNext") && o.controls.isEnabled("cmdLoad"));
        EXPECT_EQ(o.controls.tree().itemCount(), items) << env.module.log();
        ASSERT_EQ(env.ui->shown.size(), told ? 1u : 0u);
        for (const test::ShownMessage& shown : env.ui->shown)
            EXPECT_NE(shown.text.find(o.wizard.msgWsdlNotRead), std::string::npos);
    }
    o.tick("Inventory", "SetStock");
    EXPECT_EQ(o.controls.grid().rowCount(), 2);
    o.tick("Inventory", "SetStock", false); // clearing a tick selects the item too
    EXPECT_EQ(o.wizard.treeLoader().pubstrSelectedMethod, "SetStock");
    o.tick("Pricing", "GetPrice");
    ASSERT_EQ(o.controls.grid().rowCount(), 1);
    EXPECT_EQ(o.controls.text("txtReturnType"), "xsd:double");

    o.next();
    ASSERT_EQ(o.controls.selectedPage(), 2);
    EXPECT_EQ(o.controls.text("txtClassName"), "Pricing");
    EXPECT_EQ(o.controls.text("txtReturnType2"), "xsd:double");
    o.controls.setText("txtClassName", "");
    o.next();
    EXPECT_EQ(o.controls.selectedPage(), 2);
    EXPECT_EQ(env.ui->shown.back().text, o.wizard.messages.msgNoClass);
    o.controls.setText("txtClassName", "Pricing");
    o.next();
    ASSERT_EQ(o.controls.selectedPage(), 3);
    EXPECT_EQ(o.controls.gridAttributeList(), "[none]");
    EXPECT_EQ(o.controls.listItems("pvAttributesReturn"), std::vector<std::string>{"[none]"});
    o.controls.grid().setCell(0, 3, "bolt");
    o.wizard.cmdBack_Click();
    EXPECT_EQ(o.controls.text("lblMsg"), o.wizard.messages.msgMapParameters); // Back keeps the guidance
    o.next();
    o.controls.grid().setCell(0, 3, "bolt");
    o.next(2);
    EXPECT_FALSE(o.controls.isEnabled("txtProxyServer"));
    o.controls.setChecked("chkUseProxy", true);
    o.wizard.chkUseProxy_Click();
    EXPECT_TRUE(o.controls.isEnabled("txtProxyServer"));
    o.next();

    ASSERT_FALSE(o.wizard.EvalCode.empty()) << env.module.log();
    EXPECT_TRUE(script::vbscript::check(o.wizard.EvalCode).ok());
    const XmlNode definition = XmlNode::parse(o.wizard.definitionXml()).documentElement();
    ASSERT_EQ(definition.selectNodes("Method/Parameters/*").size(), 1u);
    EXPECT_EQ(definition.selectSingleNode("Method/Parameters/*/DefValue").text(), "bolt");
    EXPECT_EQ(definition.selectSingleNode("WebService/Wsdl/*").name(), "definitions");
}

// Runs the command-line tool, which drives the same logic on an activity file, in dir.
test::ProgramRun zelWizard(const test::TempDir& dir, const std::string& arguments)
{
    return test::runProgram(std::string(ZEL_BIN_DIR) + "/zel-wizard " + arguments, dir);
}

// The road of the window, on an activity file: written once from options, then reopened from what
// it stored and finished again unchanged. Each refusal names its reason on one line; usage errors
// exit 2.
TEST(ZelWizard, WritesIntoTheActivityAndReopensItUnchanged_RefusesBadInputWithItsReason)
{
    test::TempDir dir;
    const std::string calculator = test::demoServices().serviceUrl("Calculator");
    const std::string activity = (dir / "activity.xml").string();
    test::writeFile(activity, test::readFile(std::string(ZEL_SOURCE_DIR) + "/data/samples/NewActivity.xml"));
    const test::ProgramRun first =
        zelWizard(dir, "--activity " + activity + " --wsdl " + calculator +
                           " --operation Add --map a=Weight --default b=5 --return-attribute Quote"
                           " --proxy-server proxy.local --proxy-port 3128 --use-proxy --timeout 30");
    ASSERT_EQ(first.exit, 0) << first.err;
    const std::string written = test::readFile(activity);
    const XmlNode definition = XmlNode::parse(written).documentElement().selectSingleNode("//Definition");
    EXPECT_EQ(definition.selectSingleNode("Method/Parameters/*[Name='a']/AtrId").text(), "Weight");
    EXPECT_EQ(definition.selectSingleNode("Method/Return/AtrId").text(), "Quote");
    EXPECT_EQ(definition.selectSingleNode("Proxy/Server").text(), "proxy.local");
    EXPECT_EQ(definition.selectSingleNode("WebService/Wsdl/*").name(), "wsdl:definitions");
    const std::string script = XmlNode::parse(written).documentElement().selectSingleNode("//EvalCode").text();
    EXPECT_TRUE(script::vbscript::check(script).ok());

    const test::ProgramRun second = zelWizard(dir, "--activity " + activity);
    ASSERT_EQ(second.exit, 0) << second.err;
    EXPECT_EQ(test::withoutDates(test::readFile(activity)), test::withoutDates(written));

    test::writeFile(dir / "catalogue.xml", test::kCatalogue);
    test::writeFile(dir / "broken.xml", "<Attributes><Attribute>");
    const std::string add = "--wsdl " + calculator + " --operation Add ";
    const std::string catalogue = " --catalogue " + (dir / "catalogue.xml").string();
    const std::string broken = (dir / "broken.xml").string();
    // The arguments, the exit code and the reason printed.
    const std::vector<std::tuple<std::string, int, const char*>> cases = {
        {"--wsdl http://127.0.0.1:1/None.asmx --operation Add", 1, "has no service"},
        {"--wsdl " + calculator + " --operation Power", 1, "Power is not listed"},
        {add + "--map z=Weight" + catalogue, 1, "no parameter z"},
        {add + "--map a=Height" + catalogue, 1, "no attribute Height"},
        {add + "--catalogue " + broken, 1, "is not XML"},
        {"--edit " + broken, 1, "is not XML"},
        {"", 2, "usage"},
        {"--wsdl " + calculator + " --map a", 2, "usage"},
        {"--wsdl " + calculator + " --colour red", 2, "usage"},
    };
    for (const auto& [arguments, exitCode, reason] : cases) {
        const test::ProgramRun outcome = zelWizard(dir, arguments);
        EXPECT_EQ(outcome.exit, exitCode) << reason << ": " << outcome.err;
        EXPECT_NE(outcome.err.find(reason), std::string::npos) << outcome.err;
    }
}

} // namespace
} // namespace zel::wizard
