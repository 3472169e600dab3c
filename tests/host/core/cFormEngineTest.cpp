#include "host/cFormEngine.h"
#include "common/Globals.h"
#include "host/Engine.h"
#include "host/HostState.h"
#include "host/cRobot.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "hostparts/defaults/SharedData.h"
#include "platform/com/ClassRegistry.h"
#include "support/TestSupport.h"

#include <algorithm>

namespace zel {
namespace {

using test::raisedBy;

// An editor form without a window: records the operations asked of it, in order; the operation
// named failOn raises instead, as a window that fails would.
class FakeForm final : public IEditorForm
{
public:
    explicit FakeForm(EditorFormEvents events) : events(std::move(events)) {}
    ~FakeForm() override { ++destroyed; }

    void Load() override { record("Load"); }
    void Unload() override { record("Unload"); }
    void Initialize() override { record("Initialize"); }
    void ActivityDataChanged() override {}
    void ShowModal() override
    {
        record("ShowModal");
        if (onShow)
            onShow(*this);
    }
    // The wizard's road is driven with the real window.
    std::string ShowWizardForNewScript() override { return {}; }
    void UnloadWizard() override {}
    void SetScriptText(std::string_view) override {}
    void ColorizeCode() override {}
    void SaveCode() override {}
    bool Validate() override { return record("Validate"), true; }
    void ResizeForm() override { record("ResizeForm"); }
    std::string Caption() override { return record("Caption"), " Script Editor"; }
    int32_t Handle() override { return record("Handle"), 4711; }
    void ChangeSettings() override { record("ChangeSettings"); }
    void UpdateLanguages(const XmlNode& languages) override
    {
        record("UpdateLanguages");
        receivedLanguages = languages;
    }
    void ChangeInterfaceLanguage(std::string_view id) override { record("Language:" + std::string(id)); }
    void record(const std::string& operation)
    {
        if (operation == failOn)
            throw ErrorRecord(1001, "the window failed", "Form");
        calls.push_back(operation);
    }

    EditorFormEvents events;
    std::vector<std::string> calls;
    std::function<void(FakeForm&)> onShow;
    std::string failOn;
    XmlNode receivedLanguages;
    static inline int destroyed = 0;
};

const char* kActivityWithScript =
    "<Activity><UserLanguage>es</UserLanguage><ContextText>Ctx</ContextText><Description>d</Description>"
    "<Properties><ExecutionEngine>E</ExecutionEngine></Properties><Unknown a='1'>keep <b>me</b></Unknown>"
    "<ScriptData><RobotScript><Script><Language><![CDATA[JScript]]></Language>"
    "<EvalCode><![CDATA[x = 1;]]></EvalCode></Script></RobotScript></ScriptData></Activity>";
const char* kActivityWithoutScript =
    "<Activity><ContextText>New</ContextText><Properties><ExecutionEngine/></Properties></Activity>";

class FormEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::writeFile(m_pathData / "DefaultScript.xml",
                        "<ScriptData><RobotScript><Script><Language><![CDATA[VBScript]]></Language><EvalCode/>"
                        "</Script></RobotScript></ScriptData>");
    }

    FakeForm& form() { return *forms.back(); }
    void load(cFormEngine& engine) { ASSERT_TRUE(engine.LoadForm(&notifier, XmlNode(), nullptr)); }

    test::ModuleInTempDir module;
    test::TempDir m_pathData;
    std::vector<FakeForm*> forms;
    test::RecordingNotifier notifier;
    test::Installed<EditorFormFactory> m_factory{test::toolkitSetter<&Toolkit::editorForm>(),
                                                 [this](EditorFormEvents events) {
                                                     auto form = std::make_unique<FakeForm>(std::move(events));
                                                     forms.push_back(form.get());
                                                     return form;
                                                 }};
};

TEST_F(FormEngineTest,
       NeutralAnswersBeforeAnyForm_SetDataInstallsTheStoredScriptOrACopyOfThePattern_MalformedDataKeepsThePrevious)
{
    cFormEngine engine;
    EXPECT_EQ(engine.GetData(), "");
    EXPECT_EQ(engine.GetCaption(), "");
    EXPECT_EQ(engine.GetHandle(), 0);
    EXPECT_FALSE(engine.Validate());
    EXPECT_NO_THROW(engine.ShowForm());
    EXPECT_NO_THROW(engine.ResizeForm());
    EXPECT_NO_THROW(engine.ChangeInterfaceLanguage("es"));
    EXPECT_NO_THROW(engine.ChangeSettings(nullptr));
    EXPECT_TRUE(forms.empty());
    load(engine);
    engine.SetPathData(m_pathData.path().string());
    engine.SetData(kActivityWithScript);
    EXPECT_EQ(globals().gstrContextText, "Ctx");
    EXPECT_EQ(hostState().gobjRobot->GetLanguage(), "JScript");
    hostState().gobjRobot->SetEvalCode("y = 2;");
    const std::string data = engine.GetData();
    EXPECT_NE(data.find("<Unknown a=\"1\">keep <b>me</b></Unknown>"), std::string::npos) << data;
    EXPECT_NE(data.find("<![CDATA[y = 2;]]>"), std::string::npos) << data;
    EXPECT_EQ(test::countOf(data, "<RobotScript>"), 1u);

    ErrorRecord e = raisedBy([&] { engine.SetData("<Activity><Description>x</Activity>"); });
    EXPECT_TRUE(e.Description.starts_with("DOM : ")) << e.Description;
    EXPECT_NE(e.Description.find("line 1"), std::string::npos);
    EXPECT_EQ(e.Source, " cFormEngine.SetData() ");
    EXPECT_EQ(engine.GetData(), data);

    // An activity without a script gets a copy of the pattern; the file is the copy's source only.
    engine.SetData(kActivityWithoutScript);
    EXPECT_EQ(hostState().gobjRobot->GetLanguage(), "VBScript");
    EXPECT_NE(
        engine.GetData().find("<ScriptData><RobotScript><Script><Language><![CDATA[VBScript]]></Language><EvalCode/>"),
        std::string::npos);
    EXPECT_EQ(test::countOf(test::readFile(m_pathData / "DefaultScript.xml"), "EvalCode/"), 1u);

    // A pattern that cannot be read fails three calls deep, and is logged twice with every tag.
    engine.SetPathData((m_pathData / "missing-folder").string());
    e = raisedBy([&] { engine.SetData(kActivityWithoutScript); });
    EXPECT_TRUE(e.Description.starts_with("DOM : ")) << e.Description;
    EXPECT_EQ(e.Source, " General.GetPattern()  cFormEngine.InitDataToProcess()  cFormEngine.SetData() ");
    const std::string log = module.log();
    EXPECT_EQ(test::countOf(log, " -- ERROR --\r\n"), 3u);
    const std::size_t first = log.find("\tSOURCE :  General.GetPattern()   cFormEngine.InitDataToProcess() \r\n");
    const std::size_t second =
        log.find("\tSOURCE :  General.GetPattern()  cFormEngine.InitDataToProcess()   cFormEngine.SetData() \r\n");
    ASSERT_NE(first, std::string::npos) << log;
    ASSERT_NE(second, std::string::npos) << log;
    EXPECT_LT(first, second);
}

TEST_F(FormEngineTest, RoundTripGivesBackWhatNobodyChanged_InAnyDeclaredEncoding)
{
    // A DOCTYPE with an entity and its reference, attributes and namespace declarations on the
    // script element, and whitespace-only values, in a text that declares windows-1252.
    const std::string body =
        "<!DOCTYPE Activity [<!ENTITY firm \"Acme\">]><Activity><Description>Caf\xE9 &firm; &amp;&lt;"
        "</Description><Properties><ExecutionEngine>E</ExecutionEngine><Space>  </Space></Properties>"
        "<ScriptData version=\"2\" xmlns:x=\"urn:x\"><RobotScript><Script><Language><![CDATA[VBScript]]>"
        "</Language><EvalCode>  </EvalCode><x:Note x:by=\"\x80\">n</x:Note></Script></RobotScript></ScriptData>"
        "</Activity>";
    std::string expected = std::string(body).replace(body.find("Caf\xE9"), 4, "Caf\u00E9");
    expected.replace(expected.find("\x80"), 1, "\u20AC");
    cFormEngine engine;
    load(engine);
    engine.SetData("<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + body);
    EXPECT_EQ(engine.GetData(), expected);
    EXPECT_EQ(globals().gobjSharedData->Description(), "Caf\u00E9 &firm; &<");
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), "  ");
}

TEST_F(FormEngineTest, OperationsAndEventsReachTheHeldForm_OnlyOkAndCancelReachTheData)
{
    cFormEngine engine;
    const XmlNode languages = XmlNode::parse("<Languages><L>en</L></Languages>").documentElement();
    ASSERT_TRUE(engine.LoadForm(&notifier, languages, nullptr));
    // LoadForm copies the languages; UpdateLanguages keeps the node and hands the form a copy.
    EXPECT_FALSE(globals().gxmlLanguages.sameNode(languages));
    EXPECT_EQ(globals().gxmlLanguages.xml(), languages.xml());
    engine.UpdateLanguages(languages);
    EXPECT_TRUE(globals().gxmlLanguages.sameNode(languages));
    EXPECT_FALSE(form().receivedLanguages.sameNode(languages));
    EXPECT_EQ(form().receivedLanguages.xml(), languages.xml());

    engine.SetData(kActivityWithScript);
    auto* data = dynamic_cast<SharedData*>(globals().gobjSharedData.get());
    ASSERT_NE(data, nullptr);
    form().events.buttonClick(7);
    EXPECT_EQ(data->ButtonResult(), -1);
    form().events.buttonClick(1);
    EXPECT_EQ(data->ButtonResult(), 1);
    form().events.formActivate();
    form().events.formModified();
    EXPECT_EQ(notifier.events, (std::vector<std::string>{"Button7", "Button1", "Activate", "Modified"}));
    EXPECT_EQ(std::count(form().calls.begin(), form().calls.end(), "Unload"), 2);
}

TEST_F(FormEngineTest, SecondLoadFormUnloadsTheFirstIgnoringItsErrors_FromTheHostsButtonClickAfterTheHandler)
{
    auto engine = std::make_unique<cFormEngine>();
    load(*engine);
    form().failOn = "Unload";
    const int destroyedBefore = FakeForm::destroyed;
    load(*engine);
    EXPECT_EQ(forms.size(), 2u);
    EXPECT_EQ(FakeForm::destroyed, destroyedBefore + 1);

    // A host that drops the engine from ButtonClick: the raising form lives on until its handler
    // ends. (Reloading from ButtonClick is driven with the real window.)
    engine->SetData(kActivityWithScript);
    form().onShow = [&](FakeForm& f) {
        f.events.buttonClick(1);
        EXPECT_EQ(FakeForm::destroyed, destroyedBefore + 1) << "the form went before its handler ended";
    };
    notifier.onButton = [&] { engine.reset(); };
    engine->ShowForm();
    EXPECT_EQ(FakeForm::destroyed, destroyedBefore + 2);
    EXPECT_TRUE(module.log().empty()) << module.log();
}

TEST_F(FormEngineTest, FirstLoadFormFailureIsLoggedAndRaised_LanguagesThatCannotBeCopiedFailTheLastStepOnly)
{
    cFormEngine engine;
    {
        test::Installed<EditorFormFactory> noToolkit(test::toolkitSetter<&Toolkit::editorForm>(), {});
        test::expectRaises([&] { engine.LoadForm(&notifier, XmlNode(), nullptr); }, ErrorNumber::CannotCreateComponent,
                           " cFormEngine.LoadForm() ");
        EXPECT_NE(module.log().find("\tSOURCE :   cFormEngine.LoadForm() \r\n"), std::string::npos);
    }
    const std::string before = globals().gxmlLanguages.xml();
    auto failingCopy = []() -> XmlNode { throw ErrorRecord(-1072896760, "DOM : languages: bad", "Parser"); };
    // No form held: the editor is created, loaded and given the notifier; then the copy fails,
    // which is logged and raised like any other failure of LoadForm.
    const ErrorRecord e = raisedBy([&] { engine.LoadForm(&notifier, failingCopy, nullptr); });
    EXPECT_EQ(e.Source, "Parser cFormEngine.LoadForm() ");
    EXPECT_EQ(test::countOf(module.log(), "\tSOURCE : Parser  cFormEngine.LoadForm() \r\n"), 1u);
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(form().calls, std::vector<std::string>{"Load"});
    form().events.buttonClick(0);
    EXPECT_EQ(notifier.events, std::vector<std::string>{"Button0"});
    EXPECT_EQ(globals().gxmlLanguages.xml(), before);
}

TEST_F(FormEngineTest, EveryOperationLogsWithItsLogTagAndRaisesWithItsRaiseTag)
{
    struct Case
    {
        std::string failOn; // the form operation that fails; "" for the notifier or the robot
        std::function<void(cFormEngine&)> call;
        std::string raiseTag;
        std::string logTag = ""; // "": the raise tag with one more leading blank
        std::string innerSource = "Form";
    };
    const std::vector<Case> cases = {
        {"Language:es", [](cFormEngine& e) { e.ChangeInterfaceLanguage("es"); },
         " cFormEngine.ChangeInterfaceLanguage() "},
        {"Caption", [](cFormEngine& e) { e.GetCaption(); }, " cFormEngine.GetCaption() "},
        {"Handle", [](cFormEngine& e) { e.GetHandle(); }, " cFormEngine.GetHandle() "},
        {"ChangeSettings", [](cFormEngine& e) { e.ChangeSettings(nullptr); }, " cFormEngine.ChangeSettings() "},
        {"ResizeForm", [](cFormEngine& e) { e.ResizeForm(); }, " cFormEngine.ResizeForm() "},
        {"Initialize", [](cFormEngine& e) { e.ShowForm(); }, " cFormEngine.ShowForm() ", "  cFormEngine.Showform() "},
        {"UpdateLanguages", [](cFormEngine& e) { e.UpdateLanguages(XmlNode::newElement("L")); },
         " cFormEngine.UpdateLanguages() "},
        {"Validate", [](cFormEngine& e) { e.Validate(); }, " cFormEngine.Validate() "},
        {"", [this](cFormEngine&) { form().events.buttonClick(1); }, " cFormEngine.ofrmMain_ButtonClick() ",
         "  ofrmMain_ButtonClick ", "Host"},
        {"", [this](cFormEngine&) { form().events.formActivate(); }, " cFormEngine.ofrmMain_FormActivate() ",
         " ofrmMain_FormActivate", "Host"},
        {"", [this](cFormEngine&) { form().events.formModified(); }, " cFormEngine.ofrmMain_FormModified() ",
         " ofrmMain_FormModified()", "Host"},
        {"", [](cFormEngine& e) { e.GetData(); }, " cFormEngine.GetData() ", "", ""},
    };
    for (const Case& c : cases) {
        cFormEngine engine;
        load(engine);
        form().failOn = c.failOn;
        // The notifier fails for the event handlers; GetData fails for want of a robot script document.
        notifier.failOn = c.innerSource == "Host" ? "*" : "";
        const std::size_t logged = module.log().size();
        const ErrorRecord e = raisedBy([&] { c.call(engine); });
        notifier.failOn.clear();
        EXPECT_EQ(e.Source, c.innerSource + c.raiseTag) << c.raiseTag;
        const std::string entry = module.log().substr(logged);
        const std::string logTag = c.logTag.empty() ? " " + c.raiseTag : c.logTag;
        EXPECT_EQ(test::countOf(entry, " -- ERROR --\r\n"), 1u) << c.raiseTag;
        EXPECT_NE(entry.find("\tSOURCE : " + c.innerSource + logTag + "\r\n"), std::string::npos) << entry;
    }
}

TEST_F(FormEngineTest, FailingConstructionIsLoggedOnly_AndLaterOperationsMissTheData)
{
    test::ComponentReplaced failing(kClsidSharedData, []() -> std::unique_ptr<IComponent> {
        throw ErrorRecord(429, "ActiveX component can't create object", "Registry");
    });
    std::unique_ptr<cFormEngine> engine;
    EXPECT_NO_THROW(engine = std::make_unique<cFormEngine>());
    EXPECT_NE(module.log().find("\tSOURCE : Registry  cFormEngine.Class_Initialize() \r\n"), std::string::npos)
        << module.log();
    // The steps after the failing one did not run.
    EXPECT_FALSE(hostState().gobjRobot);
    load(*engine);
    EXPECT_EQ(raisedBy([&] { engine->SetData(kActivityWithScript); }).Number, ErrorNumber::ObjectNotSet);
    test::expectRaises([&] { engine->ShowForm(); }, ErrorNumber::ObjectNotSet, " cFormEngine.ShowForm() ");
    EXPECT_EQ(form().calls, (std::vector<std::string>{"Load", "Initialize"}));
}

TEST(Engine, LngSetSetsLanguageAndPathData_ShowWithoutAWindowToolkitRaises429)
{
    Engine engine;
    engine.LngSet("es", "/opt/data");
    EXPECT_EQ(globals().gstrLanguageId, "es");
    EXPECT_EQ(globals().gstrPathData, "/opt/data");
    test::Installed<std::function<void()>> noToolkit(test::toolkitSetter<&Toolkit::olderWizard>(), {});
    test::expectRaises([&] { engine.Show(); }, ErrorNumber::CannotCreateComponent, " Engine.Show() ");
    int shown = 0;
    toolkit().olderWizard = [&] { ++shown; };
    engine.Show();
    EXPECT_EQ(shown, 1);
}

} // namespace
} // namespace zel
