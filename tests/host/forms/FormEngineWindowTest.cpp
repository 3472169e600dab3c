// The form engine with the real editor window: loading, showing, closing, and what stays after.

#include "host/forms/FormTestSupport.h"

#include "common/Globals.h"
#include "host/HostState.h"
#include "host/cRobot.h"
#include "hostparts/defaults/SmallComponents.h"
#include "platform/error/ErrorRecord.h"

#include <QPointer>
#include <QPushButton>
#include <QTextEdit>

#include <optional>

namespace zel::test {
namespace {

using FormEngineWindow = EditorFixture;

TEST_F(FormEngineWindow, CancelKeepsTheScript_ShowingAgainKeepsTheEdit_OkStoresIt_AndTheClosedFormStillAnswers)
{
    int64_t told = 0;
    struct Spy final : IWindowComponent
    {
        explicit Spy(int64_t& told) : m_told(told) {}
        void SetWindow(int64_t handle) override { m_told = handle; }
        int64_t& m_told;
    };
    ComponentReplaced spy(kClsidWindowComponent, [&told] { return std::make_unique<Spy>(told); });
    open(fixture("host/activity-vbscript.xml"));
    const std::string before = hostState().gobjRobot->GetEvalCode();
    showAndCancel([&](QDialog&) { control<QTextEdit>("rtfScript")->setPlainText("Dim total\ntotal = 42"); });
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), before);
    EXPECT_NE(engine->GetData().find("<Description><![CDATA[Sums the order lines.]]></Description>"),
              std::string::npos);
    // The window component was told the window's handle.
    EXPECT_NE(engine->GetHandle(), 0);
    EXPECT_EQ(told, engine->GetHandle());
    // The same data set again leaves the edit in the window.
    engine->SetData(fixture("host/activity-vbscript.xml"));
    show([&](QDialog&) {
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "Dim total\ntotal = 42");
        control<QPushButton>("cmdOk")->click();
    });
    EXPECT_EQ(notifier.buttons, (std::vector<int32_t>{kButtonCancel, kButtonOk}));
    EXPECT_FALSE(window()->isVisible());
    const std::string data = engine->GetData();
    EXPECT_NE(data.find("<EvalCode><![CDATA[Dim total\ntotal = 42]]></EvalCode>"), std::string::npos) << data;
    EXPECT_NE(data.find("<Priority>Normal</Priority>"), std::string::npos) << data;

    control<QTextEdit>("rtfScript")->setPlainText("changed after closing");
    EXPECT_TRUE(engine->Validate());
    EXPECT_NE(engine->GetData().find("changed after closing"), std::string::npos);

    // Other activity data refills the window at its next showing.
    engine->SetData(activityXml("JScript", "var other = 1;", "", "es", "Other activity"));
    show([&](QDialog&) {
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "var other = 1;");
        EXPECT_EQ(control<QTextEdit>("rtfDescription")->toPlainText(), "Other activity");
        EXPECT_EQ(control<QPushButton>("cmdCancel")->text(), "&Cancelar");
        control<QPushButton>("cmdOk")->click();
    });
    EXPECT_NE(engine->GetData().find("var other = 1;"), std::string::npos);
    EXPECT_EQ(engine->GetData().find("changed after closing"), std::string::npos);
}

TEST_F(FormEngineWindow, SecondLoadFormReplacesTheWindow_FromOkTheOldOneGoesAfterTheHandler_TheNewStaysShowable)
{
    open(fixture("host/activity-vbscript.xml"));
    QPointer<QDialog> first = window();
    EXPECT_TRUE(engine->LoadForm(&notifier, XmlNode::newElement("Languages"), nullptr));
    EXPECT_EQ(survivingWindows().size(), 1u);
    EXPECT_FALSE(first);

    first = window();
    notifier.onButton = [&] { engine->LoadForm(&notifier, XmlNode::newElement("Languages"), nullptr); };
    engine->SetData(fixture("host/activity-vbscript.xml"));
    show([&](QDialog&) { control<QPushButton>("cmdOk")->click(); });
    notifier.onButton = nullptr;
    EXPECT_EQ(survivingWindows().size(), 1u);
    EXPECT_FALSE(first);
    // Nothing hid the new window before it was ever shown.
    EXPECT_FALSE(window()->testAttribute(Qt::WA_WState_ExplicitShowHide));
    engine->SetData(fixture("host/activity-vbscript.xml"));
    showAndCancel([](QDialog& dialog) { EXPECT_TRUE(dialog.isVisible()); });
    EXPECT_EQ(notifier.buttons, (std::vector<int32_t>{kButtonOk, kButtonCancel}));
}

TEST_F(FormEngineWindow, FillingThatFailsShowsNothing_AndRaisesAndLogsWithItsTags)
{
    const struct
    {
        const char* missing; // "" for the execution engine, else the class id taken away
        int32_t number;
        const char* source;
    } rows[] = {
        // The default activity data component adds an empty ExecutionEngine when the data has none;
        // a host's own component may not.
        {"", 91, " frmMain.FillDataToProcess()  frmMain.Initialize()  cFormEngine.ShowForm() "},
        {kClsidColorizer, ErrorNumber::CannotCreateComponent,
         " frmMain.ColorizeCode()  frmMain.FillDataToProcess()  frmMain.Initialize()  cFormEngine.ShowForm() "},
    };
    std::size_t logged = 0;
    for (const auto& row : rows) {
        open(fixture("host/activity-vbscript.xml"));
        std::optional<ComponentReplaced> missing;
        if (*row.missing == '\0')
            globals().gobjSharedData->PropertiesNode().removeChildren();
        else
            missing.emplace(row.missing);
        const ErrorRecord error = raisedBy([&] { engine->ShowForm(); });
        EXPECT_EQ(error.Number, row.number);
        EXPECT_TRUE(error.Source.ends_with(row.source)) << error.Source;
        EXPECT_EQ(countOf(logText(), "  cFormEngine.Showform() \r\n"), ++logged) << logText();
    }
}

} // namespace
} // namespace zel::test
