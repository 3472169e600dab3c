#include "WizardTestSupport.h"

#include "platform/script/vbscript/VBScriptParser.h"
#include "wizard/MemoryWizardControls.h"
#include "wizard/Wizard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <tuple>

namespace zel::wizard {
namespace {

using namespace std::chrono_literals;

struct OlderOpening
{
    OlderOpening()
    {
        wizard.applyDesignTexts();
        wizard.Form_Load("en", "");
    }
    // Load, then the timer's ticks until the page is idle again (ten seconds at most).
    void load(const std::string& address)
    {
        controls.setText("txtWsdlUrl", address);
        wizard.cmdLoad_Click();
        for (auto until = std::chrono::steady_clock::now() + 10s;
             controls.isTimerRunning() && std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(10ms))
            wizard.timSoapLoadWsdl_Timer();
    }
    controls::TreeItem item(const std::string& parent, const std::string& text)
    {
        controls::ITreeControl& tree = controls.tree();
        for (int i = 0; i < tree.childCount(tree.root()); ++i) {
            const controls::TreeItem top = tree.child(tree.root(), i);
            for (int j = 0; j < tree.childCount(top); ++j)
                if (tree.text(top) == parent && tree.text(tree.child(top, j)) == text)
                    return tree.child(top, j);
        }
        ADD_FAILURE() << "no item " << parent << "/" << text;
        return {};
    }
    void tick(const std::string& parent, const std::string& text, bool ticked)
    {
        controls.tree().setChecked(item(parent, text), ticked);
        wizard.tvSoapComponent_AfterCheckBoxStateChanged(item(parent, text));
    }

    MemoryWizardControls controls;
    Wizard wizard{controls};
};

// Load of the older-style demo service, tick, untick, tick another (the last change wins and the
// grid follows at once), the page checks, and Finish taking every named row and no row past the
// last: the definition keeps the loaded WSDL and the script passes the VBScript check.
TEST(Wizard, RoadOnAnOlderStyleService_LastTickChangeWins_FinishTakesEveryNamedRow)
{
    test::WizardEnvironment env;
    OlderOpening o;
    o.wizard.cmdNext_Click();
    ASSERT_EQ(env.ui->shown.size(), 1u);
    EXPECT_EQ(env.ui->shown[0].text, o.wizard.messages.msgNoMethod);

    o.load(test::demoServices().serviceUrl("Inventory") + "?WSDL");
    EXPECT_TRUE(o.controls.isEnabled("cmdLoad"));
    EXPECT_FALSE(o.controls.isVisible("progbarWsdlLoad"));
    EXPECT_EQ(o.controls.tree().itemCount(), 5) << env.module.log(); // two classes, three methods
    o.tick("Inventory", "SetStock", true);
    EXPECT_EQ(o.controls.grid().rowCount(), 2);
    o.tick("Inventory", "SetStock", false); // clearing a tick selects the item too
    EXPECT_EQ(o.wizard.treeLoader().pubstrSelectedMethod, "SetStock");
    o.tick("Pricing", "GetPrice", true);
    ASSERT_EQ(o.controls.grid().rowCount(), 1);
    EXPECT_EQ(o.controls.text("txtReturnType"), "xsd:double");

    o.wizard.cmdNext_Click();
    ASSERT_EQ(o.controls.selectedPage(), 2);
    EXPECT_EQ(o.controls.text("txtClassName"), "Pricing");
    EXPECT_EQ(o.controls.text("txtReturnType2"), "xsd:double");
    o.controls.setText("txtClassName", "");
    o.wizard.cmdNext_Click();
    EXPECT_EQ(o.controls.selectedPage(), 2);
    EXPECT_EQ(env.ui->shown.back().text, o.wizard.messages.msgNoClass);
    o.controls.setText("txtClassName", "Pricing");
    o.wizard.cmdNext_Click();
    ASSERT_EQ(o.controls.selectedPage(), 3);
    o.controls.grid().setCell(0, 3, "bolt");
    o.wizard.cmdBack_Click();
    EXPECT_EQ(o.controls.text("lblMsg"), o.wizard.messages.msgMapParameters); // Back keeps the guidance
    o.wizard.cmdNext_Click();
    o.controls.grid().setCell(0, 3, "bolt");
    o.wizard.cmdNext_Click();
    o.wizard.cmdNext_Click();
    EXPECT_FALSE(o.controls.isEnabled("txtProxyServer"));
    o.controls.setChecked("chkUseProxy", true);
    o.wizard.chkUseProxy_Click();
    EXPECT_TRUE(o.controls.isEnabled("txtProxyServer"));
    o.wizard.cmdNext_Click();

    ASSERT_FALSE(o.wizard.EvalCode.empty()) << env.module.log();
    EXPECT_TRUE(script::vbscript::check(o.wizard.EvalCode).ok());
    const XmlNode definition = XmlNode::parse(o.wizard.definitionXml()).documentElement();
    ASSERT_EQ(definition.selectNodes("Method/Parameters/*").size(), 1u);
    EXPECT_EQ(definition.selectSingleNode("Method/Parameters/*/DefValue").text(), "bolt");
    EXPECT_EQ(definition.selectSingleNode("WebService/Wsdl/*").name(), "definitions");
}

// Loads after a good one that give no document: nothing typed starts nothing and changes nothing;
// a page that is not XML empties the tree without a word; a server that never answers is ended
// by the request's time-out, the tree emptied and the user told. Each leaves the page idle.
TEST(Wizard, LoadsWithoutADocument_LeaveThePageIdleWithAnEmptyTree)
{
    test::WizardEnvironment env;
    test::SilentServer server;
    // The address loaded after a good one, the tree items left, and whether the user is told.
    const std::vector<std::tuple<std::string, int, bool>> cases = {
        {"   ", 5, false},
        {server.url("/page"), 0, false},
        {server.url("/Slow.asmx?WSDL"), 0, true},
    };
    for (const auto& [address, items, told] : cases) {
        SCOPED_TRACE(address);
        OlderOpening o;
        http::HttpOptions shortWait;
        shortWait.timeout = 300ms;
        o.wizard.setLoadOptions(shortWait);
        o.load(test::demoServices().serviceUrl("Inventory") + "?WSDL");
        ASSERT_EQ(o.controls.tree().itemCount(), 5);
        env.ui->shown.clear();
        o.load(address);
        EXPECT_FALSE(o.controls.isTimerRunning());
        EXPECT_FALSE(o.wizard.isLoadRunning());
        EXPECT_TRUE(o.controls.isEnabled("cmdNext"));
        EXPECT_EQ(o.controls.tree().itemCount(), items);
        ASSERT_EQ(env.ui->shown.size(), told ? 1u : 0u);
        for (const test::ShownMessage& shown : env.ui->shown)
            EXPECT_NE(shown.text.find(o.wizard.msgWsdlNotRead), std::string::npos);
    }
}

} // namespace
} // namespace zel::wizard
