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
#include <tuple>

namespace zel::test {
namespace {

using FormEngineWindow = EditorFixture;

TEST_F(FormEngineWindow,
       OkGivesBackUntouchedTextByteForByte_RefusesWhatXmlCannotHold_CancelKeepsTheScript_TheClosedFormStillAnswers)
{
    int64_t told = 0;
    struct Spy final : IWindowComponent
    {
        explicit Spy(int64_t& told) : m_told(told) {}
        void SetWindow(int64_t handle) override { m_told = handle; }
        int64_t& m_told;
    };
    ComponentReplaced spy(kClsidWindowComponent, [&told] { return std::make_unique<Spy>(told); });
    // A no-break space, a line separator, a paragraph separator and a character beyond 16 bits:
    // the box shows each differently from how it is stored.
    const std::string script = "a\u00A0b\u2028c\u2029d = \"\U0001F600\"\ne";
    const std::string description = "x\u00A0\u00A0y\u2029z";
    const std::string data = activityXml("VBScript", script, "<ExecutionEngine/>", "en", description);
    open(data);
    show([&](QDialog&) { control<QPushButton>("cmdOk")->click(); });
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), script);
    EXPECT_EQ(globals().gobjSharedData->Description(), description);
    // The window component was told the window's handle.
    EXPECT_NE(engine->GetHandle(), 0);
    EXPECT_EQ(told, engine->GetHandle());

    // Two edits at two showings: each changes only its own place. The same data set again between
    // them leaves the first edit in the window.
    show([&](QDialog&) {
        QTextCursor cursor(control<QTextEdit>("rtfScript")->document());
        cursor.setPosition(5);
        cursor.insertText("X");
        control<QPushButton>("cmdOk")->click();
    });
    engine->SetData(data);
    show([&](QDialog&) {
        EXPECT_TRUE(control<QTextEdit>("rtfScript")->toPlainText().contains("cX"));
        control<QTextEdit>("rtfScript")->moveCursor(QTextCursor::End);
        control<QTextEdit>("rtfScript")->insertPlainText("\nf");
        control<QPushButton>("cmdOk")->click();
    });
    const std::string edited = "a\u00A0b\u2028cX\u2029d = \"\U0001F600\"\ne\nf";
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), edited);
    EXPECT_EQ(globals().gobjSharedData->Description(), description);

    // Ok refuses characters XML cannot hold, naming the line, and the window stays open.
    const std::tuple<const char*, QString, const char*> cases[] = {
        {"rtfScript", QStringLiteral("x = 1\ny = \f2"),
         "Line 2 of \"Script\" holds a character that cannot be saved (U+000C)"},
        {"rtfScript", QString("a") + QChar(0) + "b",
         "Line 1 of \"Script\" holds a character that cannot be saved (U+0000)"},
        {"rtfDescription", QString("d\n\nq") + QChar(0xFFFF),
         "Line 3 of \"Description\" holds a character that cannot be saved (U+FFFF)"},
    };
    showAndCancel([&](QDialog&) {
        for (const auto& [box, text, message] : cases) {
            control<QTextEdit>(box)->setPlainText(text);
            control<QPushButton>("cmdOk")->click();
            EXPECT_TRUE(window()->isVisible());
            ASSERT_FALSE(ui->shown.empty());
            EXPECT_TRUE(ui->shown.back().text.starts_with(message)) << ui->shown.back().text;
            EXPECT_FALSE(engine->Validate());
            control<QTextEdit>(box)->setPlainText("fine");
        }
    });
    EXPECT_EQ(ui->shown.size(), 3u);
    EXPECT_EQ(notifier.events, (std::vector<std::string>{"Button1", "Button1", "Button1", "Button0"}));
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), edited) << "Cancel keeps the script";

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
    EXPECT_EQ(notifier.events, (std::vector<std::string>{"Button1", "Button0"}));
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
        EXPECT_EQ(countOf(readFile(folder / "zeltest.Log"), "  cFormEngine.Showform() \r\n"), ++logged);
    }
}

} // namespace
} // namespace zel::test
