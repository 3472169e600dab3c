// The form engine with the real editor window: loading, showing, closing, and what stays after.

#include "host/forms/FormTestSupport.h"

#include "common/ErrorRecord.h"
#include "common/Globals.h"
#include "host/cRobot.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "hostparts/defaults/SmallComponents.h"
#include "platform/com/ClassRegistry.h"

#include <QPointer>
#include <QPushButton>
#include <QTextEdit>

namespace zel::test {
namespace {

class FormEngineWindow : public EditorFixture
{
protected:
    // ShowForm on data whose filling fails: the window is never shown.
    ErrorRecord failedShowing()
    {
        try {
            show([](QDialog&) { ADD_FAILURE() << "the editor must not be shown"; });
        } catch (const ErrorRecord& error) {
            return error;
        }
        ADD_FAILURE() << "ShowForm should have raised";
        return {};
    }
};

TEST_F(FormEngineWindow, OkStoresTheEditedScript_AndGetDataAfterClosingReturnsIt)
{
    open(fixture("host/activity-vbscript.xml"));
    show([&](QDialog&) {
        control<QTextEdit>("rtfScript")->setPlainText("Dim total\ntotal = 42");
        control<QPushButton>("cmdOk")->click();
    });
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonOk});
    EXPECT_EQ(modal->shows, 1);
    EXPECT_FALSE(window()->isVisible());
    const std::string data = engine->GetData();
    EXPECT_NE(data.find("<EvalCode><![CDATA[Dim total\ntotal = 42]]></EvalCode>"), std::string::npos) << data;
    EXPECT_NE(data.find("<Priority>Normal</Priority>"), std::string::npos) << data;

    // The closed form still answers with what it held when it closed.
    control<QTextEdit>("rtfScript")->setPlainText("changed after closing");
    EXPECT_TRUE(engine->Validate());
    EXPECT_NE(engine->GetData().find("changed after closing"), std::string::npos);
}

TEST_F(FormEngineWindow, CancelLeavesTheScriptAsItWas)
{
    open(fixture("host/activity-vbscript.xml"));
    const std::string before = globals().gobjRobot->GetEvalCode();
    showAndCancel([&](QDialog&) { control<QTextEdit>("rtfScript")->setPlainText("thrown away"); });
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonCancel});
    EXPECT_EQ(globals().gobjRobot->GetEvalCode(), before);
    EXPECT_NE(engine->GetData().find("<Description><![CDATA[Sums the order lines.]]></Description>"),
              std::string::npos);
}

TEST_F(FormEngineWindow, SecondLoadFormReplacesTheFirstWindow)
{
    open(fixture("host/activity-vbscript.xml"));
    QPointer<QDialog> first = window();
    ASSERT_TRUE(first);
    EXPECT_TRUE(engine->LoadForm(&notifier, XmlNode::newElement("Languages"), nullptr));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(survivingWindows().size(), 1u);
    showAndCancel([](QDialog&) {});
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonCancel});
}

TEST_F(FormEngineWindow, HostThatLoadsANewFormFromOkKeepsItShowable_TheOldWindowGoesAfterTheHandler)
{
    open(fixture("activity-vbscript.xml"));
    QPointer<QDialog> first = window();
    notifier.onButton = [&] { engine->LoadForm(&notifier, XmlNode::newElement("Languages"), nullptr); };
    show([&](QDialog&) { control<QPushButton>("cmdOk")->click(); });
    notifier.onButton = nullptr;
    EXPECT_EQ(survivingWindows().size(), 1u);
    EXPECT_FALSE(first);
    // Nothing hid the new window before it was ever shown.
    EXPECT_FALSE(window()->testAttribute(Qt::WA_WState_ExplicitShowHide));
    engine->SetData(fixture("activity-vbscript.xml"));
    showAndCancel([](QDialog& dialog) { EXPECT_TRUE(dialog.isVisible()); });
}

TEST_F(FormEngineWindow, ShowingAgainKeepsWhatTheFirstShowingFilled_UnlessOtherDataCameBetween)
{
    open(fixture("host/activity-vbscript.xml"));
    showAndCancel([&](QDialog&) { control<QTextEdit>("rtfScript")->setPlainText("edited"); });
    engine->SetData(fixture("activity-vbscript.xml"));
    showAndCancel([&](QDialog&) { EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "edited"); });
    EXPECT_EQ(notifier.buttons, (std::vector<int32_t>{kButtonCancel, kButtonCancel}));

    engine->SetData(activityXml("JScript", "var other = 1;", "", "es", "Other activity"));
    show([&](QDialog&) {
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "var other = 1;");
        EXPECT_EQ(control<QTextEdit>("rtfDescription")->toPlainText(), "Other activity");
        EXPECT_EQ(control<QPushButton>("cmdCancel")->text(), "&Cancelar");
        control<QPushButton>("cmdOk")->click();
    });
    const std::string data = engine->GetData();
    EXPECT_NE(data.find("var other = 1;"), std::string::npos) << data;
    EXPECT_EQ(data.find("edited"), std::string::npos) << data;
}

TEST_F(FormEngineWindow, WindowComponentIsToldTheWindowHandle)
{
    int64_t told = 0;
    com::ClassRegistry::instance().registerClass(kClsidWindowComponent, "", [&told] {
        struct Spy final : IWindowComponent
        {
            explicit Spy(int64_t& told) : m_told(told) {}
            void SetWindow(int64_t handle) override { m_told = handle; }
            int64_t& m_told;
        };
        return std::make_unique<Spy>(told);
    });
    open(fixture("host/activity-vbscript.xml"));
    showAndCancel([](QDialog&) {});
    com::ClassRegistry::instance().unregisterClass(kClsidWindowComponent);
    registerDefaultComponents();
    EXPECT_NE(told, 0);
    EXPECT_EQ(told, engine->GetHandle());
    EXPECT_NE(engine->GetHandle(), 0);
}

TEST_F(FormEngineWindow, ActivityWithoutScriptAndNoWizardShowsNothingAndTellsNobody)
{
    open(fixture("host/activity-no-script.xml"));
    show([&](QDialog&) { ADD_FAILURE() << "the editor must not be shown"; });
    EXPECT_EQ(modal->shows, 0);
    EXPECT_TRUE(notifier.buttons.empty());
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_NE(ui->shown[0].text.find("not available"), std::string::npos);
}

TEST_F(FormEngineWindow, MissingExecutionEngineFailsTheFillingWithItsTags)
{
    // The default activity data component adds an empty ExecutionEngine when the data has none; a
    // host's own component may not.
    open(fixture("host/activity-vbscript.xml"));
    globals().gobjSharedData->PropertiesNode().removeChildren();
    const ErrorRecord error = failedShowing();
    EXPECT_EQ(error.Number, 91);
    EXPECT_TRUE(error.Source.ends_with(" frmMain.FillDataToProcess()  frmMain.Initialize()  cFormEngine.ShowForm() "))
        << error.Source;
}

TEST_F(FormEngineWindow, ColouringComponentThatCannotBeCreatedFailsTheFilling)
{
    open(fixture("host/activity-vbscript.xml"));
    com::ClassRegistry::instance().unregisterClass(kClsidColorizer);
    const ErrorRecord error = failedShowing();
    EXPECT_EQ(error.Number, ErrorNumber::CannotCreateComponent);
    EXPECT_TRUE(error.Source.ends_with(
        " frmMain.ColorizeCode()  frmMain.FillDataToProcess()  frmMain.Initialize()  cFormEngine.ShowForm() "))
        << error.Source;
    registerDefaultComponents();
    EXPECT_NE(logText().find("  cFormEngine.Showform() \r\n"), std::string::npos) << logText();
}

} // namespace
} // namespace zel::test
