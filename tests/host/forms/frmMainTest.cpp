// The editor window driven through its controls, found by object name.

#include "host/forms/FormTestSupport.h"

#include "common/ErrorRecord.h"
#include "common/Globals.h"
#include "host/cRobot.h"
#include "host/forms/NewScriptWizard.h"
#include "hostparts/colorizer/Colorizer.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "platform/com/ClassRegistry.h"
#include "platform/script/ScriptControl.h"
#include "platform/ui/qt/WindowDrawing.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

#include <fstream>
#include <iterator>

namespace zel::test {
namespace {

using EditorTest = EditorFixture;

std::string executionEngineXml()
{
    return globals().gobjSharedData->PropertiesNode().child("ExecutionEngine").xml();
}

// Counts the colourings by standing in for the colouring component.
class CountingColorizer final : public IColorizer
{
public:
    std::string Colorize(std::string_view plainText) override
    {
        ++calls;
        return hostparts::Colorizer().Colorize(plainText);
    }
    static inline int calls = 0;
};

class CountingColorizerScope
{
public:
    CountingColorizerScope()
    {
        CountingColorizer::calls = 0;
        com::ClassRegistry::instance().registerClass(kClsidColorizer, "",
                                                     [] { return std::make_unique<CountingColorizer>(); });
    }
    ~CountingColorizerScope()
    {
        com::ClassRegistry::instance().unregisterClass(kClsidColorizer);
        registerDefaultComponents();
    }
};

bool hasColouredText(const QTextDocument* document)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().foreground().color() != QColor(31, 31, 31) &&
                it.fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush))
                return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Filling and storing

struct LanguageCase
{
    const char* stored;
    const char* shown;
};

class StoredLanguage : public EditorFixture, public ::testing::WithParamInterface<LanguageCase>
{
};

TEST_P(StoredLanguage, SelectsAnExactMatchOnly_AndOkStoresTheSelection)
{
    const LanguageCase& c = GetParam();
    open(activityXml(c.stored, "x = 1"));
    show([&](QDialog&) {
        auto* list = control<QComboBox>("cmbScriptLanguage");
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->itemText(0), "VBScript");
        EXPECT_EQ(list->itemText(1), "JScript");
        EXPECT_EQ(list->currentText().toStdString(), c.shown);
        // Filling never writes the document.
        EXPECT_EQ(globals().gobjRobot->GetLanguage(), c.stored);
        control<QPushButton>("cmdOk")->click();
    });
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonOk});
    EXPECT_EQ(globals().gobjRobot->GetLanguage(), c.shown);
    EXPECT_FALSE(window()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Editor, StoredLanguage,
                         ::testing::Values(LanguageCase{"VBScript", "VBScript"}, LanguageCase{"JScript", "JScript"},
                                           LanguageCase{"jscript", "VBScript"}, LanguageCase{"VBSCRIPT", "VBScript"},
                                           LanguageCase{"Python", "VBScript"}, LanguageCase{"", "VBScript"}));

TEST_F(EditorTest, ChoosingALanguageAfterFillingWritesItAtOnce)
{
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog&) {
        control<QComboBox>("cmbScriptLanguage")->setCurrentIndex(1);
        EXPECT_EQ(globals().gobjRobot->GetLanguage(), "JScript");
    });
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonCancel});
    EXPECT_EQ(globals().gobjRobot->GetLanguage(), "JScript");
}

TEST_F(EditorTest, FillsTheControlsFromTheData)
{
    open(activityXml("JScript", "var a = 1;\nvar b = 2;", "<ExecutionEngine><![CDATA[Node 7]]></ExecutionEngine>", "en",
                     "Adds two numbers"));
    showAndCancel([&](QDialog&) {
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "var a = 1;\nvar b = 2;");
        EXPECT_EQ(control<QTextEdit>("rtfDescription")->toPlainText(), "Adds two numbers");
        EXPECT_EQ(control<QLineEdit>("txtExecutionEngine")->text(), "Node 7");
        EXPECT_TRUE(control<QTextEdit>("rtfScript")->font().fixedPitch());
        EXPECT_EQ(control<QTextEdit>("rtfScript")->font().family(), "Courier New");
        // Screen readers find every control by a name: its caption, its label's text or its tip.
        EXPECT_EQ(control<QTextEdit>("rtfDescription")->accessibleName(), "Description");
        for (QWidget* widget : window()->findChildren<QWidget*>()) {
            if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_")) {
                EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
            }
        }
    });
}

struct EngineCase
{
    const char* name;
    const char* storedElement;
    const char* typed;
    const char* expectedElement;
};

class ExecutionEngineStore : public EditorFixture, public ::testing::WithParamInterface<EngineCase>
{
};

TEST_P(ExecutionEngineStore, OkStoresTheTrimmedText)
{
    const EngineCase& c = GetParam();
    open(activityXml("VBScript", "x = 1", c.storedElement));
    show([&](QDialog&) {
        control<QLineEdit>("txtExecutionEngine")->setText(QString::fromUtf8(c.typed));
        control<QTextEdit>("rtfDescription")->setPlainText("New description");
        control<QTextEdit>("rtfScript")->setPlainText("y = 2");
        control<QPushButton>("cmdOk")->click();
    });
    EXPECT_EQ(executionEngineXml(), c.expectedElement);
    EXPECT_EQ(globals().gobjSharedData->Description(), "New description");
    EXPECT_EQ(globals().gobjRobot->GetEvalCode(), "y = 2");
}

INSTANTIATE_TEST_SUITE_P(
    Editor, ExecutionEngineStore,
    ::testing::Values(EngineCase{"SpacesIntoEmptyElement", "<ExecutionEngine/>", "   ",
                                 "<ExecutionEngine><![CDATA[]]></ExecutionEngine>"},
                      EngineCase{"TextIntoEmptyElement", "<ExecutionEngine/>", "  Main  ",
                                 "<ExecutionEngine><![CDATA[Main]]></ExecutionEngine>"},
                      EngineCase{"SpacesOverCData", "<ExecutionEngine><![CDATA[Main]]></ExecutionEngine>", "    ",
                                 "<ExecutionEngine><![CDATA[]]></ExecutionEngine>"},
                      EngineCase{"TextOverText", "<ExecutionEngine>Old</ExecutionEngine>", " New ",
                                 "<ExecutionEngine>New</ExecutionEngine>"},
                      EngineCase{"OnlyTheFirstChildChanges",
                                 "<ExecutionEngine><![CDATA[A]]><![CDATA[B]]></ExecutionEngine>", "C",
                                 "<ExecutionEngine><![CDATA[C]]><![CDATA[B]]></ExecutionEngine>"}),
    [](const ::testing::TestParamInfo<EngineCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------
// Syntax check

struct CheckCase
{
    const char* name;
    const char* language;
    const char* script;
    bool passes;
};

class SyntaxCheck : public EditorFixture, public ::testing::WithParamInterface<CheckCase>
{
};

TEST_P(SyntaxCheck, ShowsTheOutcomeInItsMessageBox)
{
    const CheckCase& c = GetParam();
    open(activityXml(c.language, c.script));
    // Checking twice gives the same answer.
    showAndCancel([&](QDialog&) {
        control<QToolButton>("cmdCheckSyntax")->click();
        control<QToolButton>("cmdCheckSyntax")->click();
    });
    ASSERT_EQ(ui->shown.size(), 2u);
    EXPECT_EQ(ui->shown[1].text, ui->shown[0].text);
    const ShownMessage& box = ui->shown.front();
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    if (c.passes) {
        EXPECT_EQ(box.text, "Syntax Code Ok !!!");
        EXPECT_EQ(box.title, "Ombrel External Process");
        EXPECT_EQ(box.icon, MessageIcon::Information);
        return;
    }
    script::ScriptControl engine;
    ASSERT_TRUE(engine.SetLanguage(c.language));
    ASSERT_FALSE(engine.AddCode(c.script));
    const script::ScriptError& error = engine.Error();
    EXPECT_EQ(box.text, "Error.\r\nNumber: " + std::to_string(error.Number) + "\r\nDesc: " + error.Description +
                            "\r\nColumn: " + std::to_string(error.Column) + "\r\nLine: " + std::to_string(error.Line) +
                            "\r\nText: " + error.Text + "\r\nSource: " + error.Source);
    EXPECT_EQ(box.title, " Script Editor");
    EXPECT_EQ(box.icon, MessageIcon::None);
}

INSTANTIATE_TEST_SUITE_P(
    Editor, SyntaxCheck,
    ::testing::Values(
        CheckCase{"EmptyScript", "VBScript", "", true},
        CheckCase{"DataRiverInAFunction", "VBScript",
                  "Function Total()\n    Total = CDbl(DataRiver(\"Amount\")) * 2\nEnd Function\nTotal", true},
        CheckCase{"DataRiverFromJScript", "JScript", "function total() { return DataRiver(\"Amount\") * 2; }", true},
        CheckCase{"UnterminatedVBScriptString", "VBScript", "Dim a\na = \"never closed\nb = 1", false},
        CheckCase{"BrokenJScript", "JScript", "var a = ;", false}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------
// Colouring

TEST_F(EditorTest, ColouringKeepsTheCaret_AlsoWhenTheRichTextIsLonger)
{
    // Accents, braces and backslashes are escaped in RTF, so the rich text is far longer.
    const QString script = QString::fromUtf8("' {ñandú} \\ é\nx = \"{}\\\" ' ü\nIf x Then y = 1");
    open(activityXml("VBScript", script.toStdString()));
    showAndCancel([&](QDialog&) {
        auto* box = control<QTextEdit>("rtfScript");
        for (int position : {0, 5, 14, 20, static_cast<int>(script.size())}) {
            QTextCursor caret = box->textCursor();
            caret.setPosition(position);
            box->setTextCursor(caret);
            control<QToolButton>("cmdColorizeCode")->click();
            EXPECT_EQ(box->textCursor().position(), position);
            EXPECT_EQ(box->toPlainText(), script);
        }
        EXPECT_TRUE(hasColouredText(box->document()));
    });
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(EditorTest, NewScriptTextDropsTheColoursOfTheOldOne)
{
    open(activityXml("VBScript", "If x Then y = 1"));
    showAndCancel([&](QDialog&) {
        auto* box = control<QTextEdit>("rtfScript");
        ASSERT_TRUE(hasColouredText(box->document()));
        form().SetScriptText("plain text");
        for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush));
        EXPECT_EQ(box->toPlainText(), "plain text");
    });
}

TEST_F(EditorTest, ColourButtonReportsAComponentThatCannotBeCreated)
{
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog&) {
        com::ClassRegistry::instance().unregisterClass(kClsidColorizer);
        control<QToolButton>("cmdColorizeCode")->click();
        registerDefaultComponents();
        EXPECT_TRUE(window()->isVisible());
    });
    ASSERT_EQ(ui->shown.size(), 1u);
    const ShownMessage& box = ui->shown.front();
    EXPECT_TRUE(box.text.starts_with("Error: 429\rDescription: ")) << box.text;
    EXPECT_TRUE(box.text.ends_with(" frmMain.ColorizeCode()  frmMain.cmdColorizeCode_Click() ")) << box.text;
    EXPECT_EQ(box.icon, MessageIcon::Critical);
    EXPECT_EQ(box.title, " Script Editor");
}

// ---------------------------------------------------------------------------------------------
// Clipboard

struct ClipboardCase
{
    const char* name;
    const char* button;
    int selectFrom;
    int selectTo;
    const char* clipboardBefore;
    const char* clipboardAfter;
    const char* scriptAfter;
};

class Clipboard : public EditorFixture, public ::testing::WithParamInterface<ClipboardCase>
{
};

TEST_P(Clipboard, WorksOnTheScriptSelection)
{
    const ClipboardCase& c = GetParam();
    open(activityXml("VBScript", "alpha\nbeta"));
    ui->clipboard = c.clipboardBefore;
    showAndCancel([&](QDialog&) {
        auto* box = control<QTextEdit>("rtfScript");
        QTextCursor selection = box->textCursor();
        selection.setPosition(c.selectFrom);
        selection.setPosition(c.selectTo, QTextCursor::KeepAnchor);
        box->setTextCursor(selection);
        control<QToolButton>(c.button)->click();
        EXPECT_EQ(box->toPlainText().toStdString(), c.scriptAfter);
    });
    EXPECT_EQ(ui->clipboard, c.clipboardAfter);
    EXPECT_TRUE(ui->shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Editor, Clipboard,
    ::testing::Values(ClipboardCase{"CutWithoutSelection", "cmdCut", 3, 3, "old", "", "alpha\nbeta"},
                      ClipboardCase{"CopyWithoutSelection", "cmdCopy", 3, 3, "old", "", "alpha\nbeta"},
                      ClipboardCase{"CopyAcrossLines", "cmdCopy", 3, 8, "", "ha\nbe", "alpha\nbeta"},
                      ClipboardCase{"CutAcrossLines", "cmdCut", 3, 8, "", "ha\nbe", "alpta"},
                      ClipboardCase{"PasteReplacesSelection", "cmdPaste", 0, 5, "gamma", "gamma", "gamma\nbeta"},
                      ClipboardCase{"PasteAtCaret", "cmdPaste", 5, 5, "\nnew", "\nnew", "alpha\nnew\nbeta"}),
    [](const ::testing::TestParamInfo<ClipboardCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------
// Wizard button

TEST_F(EditorTest, NoToTheWizardQuestionChangesNothing)
{
    CountingColorizerScope colouring;
    open(activityXml("VBScript", "x = 1"));
    ui->answers.push_back(MessageResult::No);
    showAndCancel([&](QDialog&) {
        const int colouredBefore = CountingColorizer::calls;
        control<QTextEdit>("rtfScript")->setPlainText("typed but not stored");
        control<QToolButton>("cmdWizard")->click();
        EXPECT_EQ(CountingColorizer::calls, colouredBefore);
        EXPECT_FALSE(hasColouredText(control<QTextEdit>("rtfScript")->document()));
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "typed but not stored");
        EXPECT_TRUE(window()->isVisible());
    });
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].text, "The wizard replaces the current script with the code it generates.\nDo you want "
                                 "to continue?");
    EXPECT_EQ(ui->shown[0].title, frmMain::kProgramTitle);
    EXPECT_EQ(ui->shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(ui->shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(globals().gobjRobot->GetEvalCode(), "x = 1");
    EXPECT_EQ(globals().gobjRobot->GetAdditionalDefinition(), "");
}

TEST_F(EditorTest, YesWithoutAWizardTellsTheUserAndColoursTheCode)
{
    CountingColorizerScope colouring;
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog&) {
        const int colouredBefore = CountingColorizer::calls;
        control<QToolButton>("cmdWizard")->click();
        EXPECT_EQ(CountingColorizer::calls, colouredBefore + 1);
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "x = 1");
    });
    ASSERT_EQ(ui->shown.size(), 2u);
    EXPECT_EQ(ui->shown[1].text, "The web-service wizard is not available yet.");
    EXPECT_EQ(ui->shown[1].title, frmMain::kProgramTitle);
    EXPECT_EQ(ui->shown[1].icon, MessageIcon::Information);
    EXPECT_EQ(ui->shown[1].buttons, MessageButtons::Ok);
}

// ---------------------------------------------------------------------------------------------
// Errors that the window's own buttons raise on: shown, logged, the window stays open.

TEST_F(EditorTest, OkGivesBackUntouchedTextByteForByte_AndAnEditChangesOnlyWhatWasEdited)
{
    // A no-break space, a line separator, a paragraph separator and a character beyond 16 bits:
    // the box shows each differently from how it is stored.
    const std::string script = "a\u00A0b\u2028c\u2029d = \"\U0001F600\"\ne";
    const std::string description = "x\u00A0\u00A0y\u2029z";
    open(activityXml("VBScript", script, "<ExecutionEngine/>", "en", description));
    show([&](QDialog&) { control<QPushButton>("cmdOk")->click(); });
    EXPECT_EQ(globals().gobjRobot->GetEvalCode(), script);
    EXPECT_EQ(globals().gobjSharedData->Description(), description);

    // Two edits at two showings: each changes only its own place.
    show([&](QDialog&) {
        QTextCursor cursor(control<QTextEdit>("rtfScript")->document());
        cursor.setPosition(5);
        cursor.insertText("X");
        control<QPushButton>("cmdOk")->click();
    });
    show([&](QDialog&) {
        control<QTextEdit>("rtfScript")->moveCursor(QTextCursor::End);
        control<QTextEdit>("rtfScript")->insertPlainText("\nf");
        control<QPushButton>("cmdOk")->click();
    });
    EXPECT_EQ(globals().gobjRobot->GetEvalCode(), "a\u00A0b\u2028cX\u2029d = \"\U0001F600\"\ne\nf");
    EXPECT_EQ(globals().gobjSharedData->Description(), description);
}

TEST_F(EditorTest, OkRefusesCharactersXmlCannotHoldNamingTheLine_AndTheWindowStaysOpen)
{
    open(activityXml("VBScript", "x = 1"));
    struct Case
    {
        const char* box;
        QString text;
        const char* message;
    };
    const Case cases[] = {
        {"rtfScript", QStringLiteral("x = 1\ny = \f2"),
         "Line 2 of \"Script\" holds a character that cannot be saved (U+000C)"},
        {"rtfScript", QString("a") + QChar(0) + "b",
         "Line 1 of \"Script\" holds a character that cannot be saved (U+0000)"},
        {"rtfDescription", QString("d\n\nq") + QChar(0xFFFF),
         "Line 3 of \"Description\" holds a character that cannot be saved (U+FFFF)"},
    };
    showAndCancel([&](QDialog&) {
        for (const Case& c : cases) {
            control<QTextEdit>(c.box)->setPlainText(c.text);
            control<QPushButton>("cmdOk")->click();
            EXPECT_TRUE(window()->isVisible());
            ASSERT_FALSE(ui->shown.empty());
            EXPECT_TRUE(ui->shown.back().text.starts_with(c.message)) << ui->shown.back().text;
            EXPECT_FALSE(engine->Validate());
            control<QTextEdit>(c.box)->setPlainText("fine");
        }
        EXPECT_TRUE(notifier.buttons.empty());
    });
    EXPECT_EQ(ui->shown.size(), 3u);
    EXPECT_EQ(globals().gobjRobot->GetEvalCode(), "x = 1");
}

TEST_F(EditorTest, AMillionNestedElementsAreReadShownAndGivenBack)
{
    // Every walk over the data holds no stack per level.
    constexpr int kLevels = 1'000'000;
    std::string nested;
    nested.reserve(kLevels * 7 + 4);
    for (int i = 0; i < kLevels; ++i)
        nested += "<n>";
    nested += "deep";
    for (int i = 0; i < kLevels; ++i)
        nested += "</n>";
    const std::string data =
        "<Activity><Description>" + nested +
        "</Description><Properties><ExecutionEngine>E</ExecutionEngine></Properties><ScriptData><RobotScript>"
        "<Script><Language><![CDATA[VBScript]]></Language><EvalCode>x = 1</EvalCode><Definition>" +
        nested + "</Definition></Script></RobotScript></ScriptData></Activity>";
    open(data);
    show([&](QDialog&) {
        EXPECT_EQ(control<QTextEdit>("rtfDescription")->toPlainText(), "deep");
        control<QPushButton>("cmdOk")->click();
    });
    EXPECT_EQ(engine->GetData(), data);
}

TEST_F(EditorTest, OkThatFailsToValidateShowsTheErrorAndKeepsTheWindow)
{
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog&) {
        globals().gobjSharedData->PropertiesNode().removeChildren();
        control<QPushButton>("cmdOk")->click();
        EXPECT_TRUE(window()->isVisible());
        EXPECT_TRUE(notifier.buttons.empty());
    });
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonCancel});
    ASSERT_EQ(ui->shown.size(), 1u);
    const ShownMessage& box = ui->shown.front();
    EXPECT_EQ(box.icon, MessageIcon::Critical);
    EXPECT_EQ(box.title, " Script Editor");
    EXPECT_TRUE(box.text.starts_with("Error.\r\nDesc: ")) << box.text;
    EXPECT_TRUE(box.text.ends_with(" frmMain.Validate()  frmMain.cmdOk_Click() ")) << box.text;
    EXPECT_NE(logText().find(" frmMain.Validate()  frmMain.cmdOk_Click() "), std::string::npos);
}

TEST_F(EditorTest, CancelRefusedByTheHostShowsTheErrorAndKeepsTheWindow)
{
    open(activityXml("VBScript", "x = 1"));
    notifier.failOnButton = kButtonCancel;
    showAndCancel([&](QDialog&) {
        control<QPushButton>("cmdCancel")->click();
        EXPECT_TRUE(window()->isVisible());
        notifier.failOnButton = -1;
    });
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonCancel});
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_TRUE(ui->shown[0].text.ends_with("Host.ButtonClick cFormEngine.ofrmMain_ButtonClick()  "
                                            "frmMain.cmdCancel_Click() "))
        << ui->shown[0].text;
    // The form engine logged it on the way, and the window once more at its end.
    const std::string log = logText();
    EXPECT_NE(log.find("Host.ButtonClick  ofrmMain_ButtonClick "), std::string::npos) << log;
    EXPECT_NE(log.find(" frmMain.cmdCancel_Click() "), std::string::npos) << log;
}

TEST_F(EditorTest, WizardThatFailsShowsTheErrorAndKeepsTheWindow)
{
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog&) {
        com::ClassRegistry::instance().unregisterClass(kClsidColorizer);
        control<QToolButton>("cmdWizard")->click();
        registerDefaultComponents();
        EXPECT_TRUE(window()->isVisible());
    });
    // The question, the wizard's absence, then the error of the colouring that follows it.
    ASSERT_EQ(ui->shown.size(), 3u);
    EXPECT_EQ(ui->shown[2].icon, MessageIcon::Critical);
    EXPECT_TRUE(ui->shown[2].text.starts_with("Error.\r\nDesc: ")) << ui->shown[2].text;
    EXPECT_TRUE(ui->shown[2].text.ends_with(" frmMain.ColorizeCode()  frmMain.cmdWizard_Click() "))
        << ui->shown[2].text;
    EXPECT_NE(logText().find(" frmMain.cmdWizard_Click() "), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Errors that the window's reporting handlers end with ErrorReport

// A failing clipboard behind a tool button, or (no button) a language chosen with no script document.
struct ReportCase
{
    const char* name;
    const char* button;
    const char* source;
};

class ReportedError : public EditorFixture, public ::testing::WithParamInterface<ReportCase>
{
};

TEST_P(ReportedError, IsReportedWithTheHandlersTag_AndTheWindowStaysOpen)
{
    const ReportCase& c = GetParam();
    open(activityXml("VBScript", "alpha"));
    showAndCancel([&](QDialog& dialog) {
        ui->clipboardFails = c.button != nullptr;
        if (c.button != nullptr) {
            control<QToolButton>(c.button)->click();
        } else {
            globals().gobjRobot->SetFreeDefinition(XmlNode());
            control<QComboBox>("cmbScriptLanguage")->setCurrentIndex(1);
        }
        EXPECT_TRUE(dialog.isVisible());
    });
    ASSERT_EQ(ui->shown.size(), 1u);
    const ShownMessage& box = ui->shown.front();
    EXPECT_EQ(box.icon, MessageIcon::Critical);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(box.title, " Script Editor");
    EXPECT_TRUE(box.text.starts_with("Error: ")) << box.text;
    EXPECT_TRUE(box.text.ends_with(std::string("\rSource: ") + c.source)) << box.text;
    // The log component was told, with the same source.
    std::ifstream reports(folder / "zeltest.Reports.Log", std::ios::binary);
    const std::string reported((std::istreambuf_iterator<char>(reports)), std::istreambuf_iterator<char>());
    EXPECT_NE(reported.find(c.source), std::string::npos) << reported;
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonCancel});
}

INSTANTIATE_TEST_SUITE_P(
    Editor, ReportedError,
    ::testing::Values(ReportCase{"Copy", "cmdCopy", "Clipboard frmMain.Copy()  frmMain.cmdCopy_Click() "},
                      ReportCase{"Cut", "cmdCut", "Clipboard frmMain.Copy()  frmMain.cmdCut_Click() "},
                      ReportCase{"Paste", "cmdPaste", "Clipboard frmMain.Paste()  frmMain.cmdPaste_Click() "},
                      ReportCase{"LanguageList", nullptr, " cRobot.SetLanguage()  frmMain.cmbScriptLanguage_Click() "}),
    [](const ::testing::TestParamInfo<ReportCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------
// The wizard's results

// Installs a web-service wizard that hands back a fixed outcome, and counts its showings.
class FakeWizardScope
{
public:
    explicit FakeWizardScope(WizardOutcome outcome) : outcome(std::move(outcome))
    {
        m_previous = setNewScriptWizard([this](QWidget*) {
            ++shown;
            return this->outcome;
        });
    }
    ~FakeWizardScope() { setNewScriptWizard(std::move(m_previous)); }
    WizardOutcome outcome;
    int shown = 0;

private:
    NewScriptWizard m_previous;
};

const char* const kDefinition = "<Definition><WebService><![CDATA[Calculator]]></WebService></Definition>";

TEST_F(EditorTest, WizardWithoutCodeOnlyColours_WizardCodeReplacesTheScriptAndReachesTheDocumentAtOk)
{
    CountingColorizerScope colouring;
    FakeWizardScope wizard({"", kDefinition});
    open(activityXml("VBScript", "old = 1"));
    show([&](QDialog&) {
        int colouredBefore = CountingColorizer::calls;
        control<QTextEdit>("rtfScript")->setPlainText("typed = 2");
        control<QToolButton>("cmdWizard")->click();
        EXPECT_EQ(wizard.shown, 1);
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "typed = 2");
        EXPECT_EQ(globals().gobjRobot->GetAdditionalDefinition(), "");
        EXPECT_EQ(CountingColorizer::calls, colouredBefore + 1);

        wizard.outcome = {"Dim result\nresult = Add(1, 2)", kDefinition};
        colouredBefore = CountingColorizer::calls;
        control<QToolButton>("cmdWizard")->click();
        EXPECT_EQ(wizard.shown, 2);
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "Dim result\nresult = Add(1, 2)");
        EXPECT_EQ(globals().gobjRobot->GetAdditionalDefinition(), kDefinition);
        EXPECT_EQ(globals().gobjRobot->GetEvalCode(), "old = 1");
        EXPECT_EQ(CountingColorizer::calls, colouredBefore + 1);
        control<QPushButton>("cmdOk")->click();
    });
    EXPECT_EQ(ui->shown.size(), 2u); // the two questions only
    EXPECT_EQ(globals().gobjRobot->GetEvalCode(), "Dim result\nresult = Add(1, 2)");
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonOk});
}

TEST_F(EditorTest, NewActivityTakesTheWizardsCodeAsIfOkWerePressed_WithItsDefinition)
{
    FakeWizardScope wizard({"result = Add(1, 2)", kDefinition});
    open(fixture("host/activity-no-script.xml"));
    show([&](QDialog&) { ADD_FAILURE() << "the editor must not be shown"; });
    EXPECT_EQ(wizard.shown, 1);
    EXPECT_EQ(modal->shows, 0);
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonOk});
    const std::string data = engine->GetData();
    EXPECT_NE(data.find("<EvalCode><![CDATA[result = Add(1, 2)]]></EvalCode>"), std::string::npos) << data;
    EXPECT_NE(data.find(kDefinition), std::string::npos) << data;
    EXPECT_TRUE(ui->shown.empty());
}

TEST(EditorMoving, MovingNoWindowRaisesWithTheMoveTag)
{
    try {
        ui::MoveForm(nullptr, {}, {});
        FAIL() << "MoveForm should have raised";
    } catch (const ErrorRecord& e) {
        EXPECT_EQ(e.Number, ErrorNumber::ObjectNotSet);
        EXPECT_EQ(e.Source, " General.MoveForm() ");
    }
}

TEST_F(EditorTest, EscapeIsCancel)
{
    open(activityXml("VBScript", "x = 1"));
    show([&](QDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonCancel});
}

// ---------------------------------------------------------------------------------------------
// Language

TEST_F(EditorTest, LanguageSwitchingSetsEveryTextAndAMissingFileChangesNone)
{
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), " Script Editor");
        engine->ChangeInterfaceLanguage("es");
        EXPECT_EQ(globals().gstrLanguageId, "es");
        EXPECT_EQ(engine->GetCaption(), " Editor de scripts");
        EXPECT_EQ(control<QPushButton>("cmdOk")->text(), "&Aceptar");
        EXPECT_EQ(control<QPushButton>("cmdCancel")->text(), "&Cancelar");
        EXPECT_EQ(control<QToolButton>("cmdCut")->toolTip(), "Cortar");
        EXPECT_EQ(control<QToolButton>("cmdCheckSyntax")->toolTip(), "Comprobar la sintaxis");
        EXPECT_EQ(control<QComboBox>("cmbScriptLanguage")->toolTip(), QString::fromUtf8("Lenguaje del script"));
        EXPECT_EQ(control<QLabel>("lblExecutionEngine")->text(), QString::fromUtf8("Motor de ejecución"));
        EXPECT_EQ(control<QToolButton>("cmdWizard")->toolTip(), "Wizard");

        engine->ChangeInterfaceLanguage("xx");
        EXPECT_EQ(globals().gstrLanguageId, "xx");
        EXPECT_EQ(engine->GetCaption(), " Editor de scripts");
        EXPECT_EQ(control<QPushButton>("cmdOk")->text(), "&Aceptar");
    });
}

TEST_F(EditorTest, WithoutALanguageFileTheDesignTextsStay)
{
    open(activityXml("VBScript", "x = 1", "<ExecutionEngine/>", "fr"));
    showAndCancel([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), " Script Editor");
        EXPECT_EQ(control<QPushButton>("cmdOk")->text(), "&Ok");
        EXPECT_EQ(control<QLabel>("lblScript")->text(), "Code Script");
        EXPECT_EQ(control<QToolButton>("cmdCheckSyntax")->toolTip(), "Check Sintax");
    });
}

// ---------------------------------------------------------------------------------------------
// Skin

// The control of a window fresh from its design.
const QWidget* designed(frmMain& design, const char* name)
{
    return design.window()->findChild<QWidget*>(QLatin1String(name));
}

const char* const kToolBar[] = {"panelToolBar",    "cmdCut",         "cmdCopy",  "cmdPaste",
                                "cmdColorizeCode", "cmdCheckSyntax", "cmdWizard"};

TEST_F(EditorTest, FullSkinColoursExactlyTheListedControls_AskingInOrder)
{
    RecordingSkin skin({{"GetFormBackColor", 0x0000F0},
                        {"GetTabBackColor", 0x00F000},
                        {"GetColorFont", 0xF00000},
                        {"GetButtonBackColor", 0x101010},
                        {"GetToolbarBackColor", 0x202020},
                        {"GetToolbarColorFont", 0x303030}});
    open(activityXml("VBScript", "x = 1"), &skin);
    EXPECT_EQ(skin.asked,
              (std::vector<std::string>{"GetFormBackColor", "GetTabBackColor", "GetColorFont", "GetButtonBackColor",
                                        "GetToolbarBackColor", "GetToolbarColorFont"}));
    EXPECT_EQ(window()->palette().color(QPalette::Window), QColor(0xF0, 0, 0));
    for (const char* name : {"panelScript", "lblDescription", "lblScript"})
        EXPECT_EQ(control<QWidget>(name)->palette().color(QPalette::Window), QColor(0, 0xF0, 0)) << name;
    for (const char* name : {"lblDescription", "lblScript", "cmdCancel", "cmdOk"})
        EXPECT_EQ(control<QWidget>(name)->palette().color(QPalette::WindowText), QColor(0, 0, 0xF0)) << name;
    for (const char* name : {"cmdCancel", "cmdOk"})
        EXPECT_EQ(control<QWidget>(name)->palette().color(QPalette::Button), QColor(0x10, 0x10, 0x10)) << name;
    for (const char* name : kToolBar) {
        EXPECT_EQ(control<QWidget>(name)->palette().color(QPalette::Window), QColor(0x20, 0x20, 0x20)) << name;
        EXPECT_EQ(control<QWidget>(name)->palette().color(QPalette::ButtonText), QColor(0x30, 0x30, 0x30)) << name;
    }
    // The boxes and the list keep their designed colours.
    frmMain design({});
    for (const char* name :
         {"rtfScript", "rtfDescription", "txtExecutionEngine", "cmbScriptLanguage", "lblExecutionEngine"}) {
        EXPECT_EQ(control<QWidget>(name)->palette(), designed(design, name)->palette()) << name;
    }
}

TEST_F(EditorTest, SkinRowWithMinusOneLeavesJustThoseControls)
{
    RecordingSkin skin({{"GetToolbarBackColor", -1}, {"GetToolbarColorFont", 0x303030}});
    open(activityXml("VBScript", "x = 1"), &skin);
    frmMain design({});
    for (const char* name : kToolBar) {
        EXPECT_EQ(control<QWidget>(name)->palette().color(QPalette::Window),
                  designed(design, name)->palette().color(QPalette::Window))
            << name;
        EXPECT_EQ(control<QWidget>(name)->palette().color(QPalette::ButtonText), QColor(0x30, 0x30, 0x30)) << name;
    }
    for (const char* name : {"panelScript", "lblScript", "cmdOk"})
        EXPECT_EQ(control<QWidget>(name)->palette().color(QPalette::Window),
                  designed(design, name)->palette().color(QPalette::Window))
            << name;
}

TEST_F(EditorTest, NoSkinChangesNothing)
{
    open(activityXml("VBScript", "x = 1"));
    frmMain design({});
    QList<QWidget*> controls = window()->findChildren<QWidget*>();
    controls.push_back(window());
    for (QWidget* widget : controls) {
        if (widget->objectName().isEmpty())
            continue;
        QWidget* plain =
            widget == window() ? design.window() : design.window()->findChild<QWidget*>(widget->objectName());
        ASSERT_NE(plain, nullptr) << widget->objectName().toStdString();
        EXPECT_EQ(widget->palette(), plain->palette()) << widget->objectName().toStdString();
        EXPECT_EQ(widget->autoFillBackground(), plain->autoFillBackground()) << widget->objectName().toStdString();
    }
    engine->ChangeSettings(nullptr);
    EXPECT_EQ(window()->palette(), design.window()->palette());
}

// ---------------------------------------------------------------------------------------------
// Caption bar

TEST_F(EditorTest, DraggingTheCaptionMovesTheWindowWithTheLeftButtonOnly)
{
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog& dialog) {
        auto* caption = control<QWidget>("picCaption");
        auto drag = [&](Qt::MouseButton button) {
            const QPoint start = caption->mapToGlobal(QPoint(40, 10));
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(40, 10), QPointF(start), button, button,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(caption, &press);
            QMouseEvent move(QEvent::MouseMove, QPointF(90, 40), QPointF(start + QPoint(50, 30)), Qt::NoButton, button,
                             Qt::NoModifier);
            QCoreApplication::sendEvent(caption, &move);
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(90, 40), QPointF(start + QPoint(50, 30)), button,
                                Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(caption, &release);
        };
        const QPoint before = dialog.pos();
        drag(Qt::RightButton);
        EXPECT_EQ(dialog.pos(), before);
        drag(Qt::LeftButton);
        EXPECT_EQ(dialog.pos(), before + QPoint(50, 30));
    });
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(EditorTest, WindowHasNoSystemTitleBar_AndPaintsWithoutErrors)
{
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog& dialog) {
        EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
        const QImage picture = dialog.grab().toImage();
        ASSERT_FALSE(picture.isNull());
        // The caption bar is a gradient: its left end is darker than its right end.
        const QColor left = picture.pixelColor(3, 13), right = picture.pixelColor(picture.width() - 4, 13);
        EXPECT_LT(left.lightness(), right.lightness());
    });
}

} // namespace
} // namespace zel::test
