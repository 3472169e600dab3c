// The editor window driven through its controls, found by object name.

#include "host/forms/FormTestSupport.h"

#include "common/Globals.h"
#include "host/HostState.h"
#include "host/cRobot.h"
#include "host/forms/CodeEditor.h"
#include "host/forms/FindBar.h"
#include "host/forms/KeptText.h"
#include "hostparts/colorizer/Colorizer.h"
#include "platform/error/ErrorRecord.h"
#include "platform/ui/qt/WindowDrawing.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>

#include <cstring>
#include <functional>
#include <optional>

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
    CountingColorizerScope() { CountingColorizer::calls = 0; }
    ComponentReplaced m_replaced{kClsidColorizer, [] { return std::make_unique<CountingColorizer>(); }};
};

// The colour and slant shown for each character that is not blank, as "#rrggbb/i" strings.
std::vector<std::string> shownColours(const QTextDocument* document)
{
    std::vector<std::string> out;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (int i = 0; i < block.length() - 1; ++i) {
            if (block.text()[i].isSpace())
                continue;
            std::string shown = "plain";
            for (const QTextLayout::FormatRange& range : block.layout()->formats())
                if (range.start <= i && i < range.start + range.length)
                    shown = range.format.foreground().color().name().toStdString() +
                            (range.format.fontItalic() ? "/i" : "");
            out.push_back(shown);
        }
    return out;
}

void press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &event);
}

bool hasColouredText(const QTextDocument* document)
{
    for (const std::string& colour : shownColours(document))
        if (colour != "plain" && colour != "#1f1f1f")
            return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Filling and storing

TEST_F(EditorTest, StoredLanguageIsSelectedOnlyWhenItMatchesExactly_AndEscapeIsCancel)
{
    const std::pair<std::string, std::string> rows[] = {
        {"JScript", "JScript"}, {"jscript", "VBScript"}, {"Python", "VBScript"}, {"", "VBScript"}};
    for (const auto& [stored, shown] : rows) {
        open(activityXml(stored, "x = 1"));
        show([&](QDialog& dialog) {
            EXPECT_EQ(control<QComboBox>("cmbScriptLanguage")->currentText().toStdString(), shown) << stored;
            dialog.reject();
        });
        EXPECT_EQ(hostState().gobjRobot->GetLanguage(), stored) << "filling never writes the document";
        EXPECT_EQ(notifier.buttons.back(), kButtonCancel);
    }
}

TEST_F(EditorTest, FillsTheControls_ALanguageIsWrittenAtOnce_AndOkStoresTheRest)
{
    open(activityXml("JScript", "var a = 1;\nvar b = 2;", "<ExecutionEngine><![CDATA[Node 7]]></ExecutionEngine>", "en",
                     "Adds two numbers"));
    show([&](QDialog&) {
        auto* list = control<QComboBox>("cmbScriptLanguage");
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->itemText(0), "VBScript");
        EXPECT_EQ(list->currentText(), "JScript");
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "var a = 1;\nvar b = 2;");
        EXPECT_EQ(control<QTextEdit>("rtfScript")->font().family(), "Courier New");
        EXPECT_EQ(control<QTextEdit>("rtfDescription")->toPlainText(), "Adds two numbers");
        EXPECT_EQ(control<QLineEdit>("txtExecutionEngine")->text(), "Node 7");
        // Screen readers find every control by a name: its caption, its label's text or its tip.
        EXPECT_EQ(control<QTextEdit>("rtfDescription")->accessibleName(), "Description");
        for (QWidget* widget : window()->findChildren<QWidget*>()) {
            if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_")) {
                EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
            }
        }
        list->setCurrentIndex(0);
        EXPECT_EQ(hostState().gobjRobot->GetLanguage(), "VBScript");
        control<QLineEdit>("txtExecutionEngine")->setText("  Main  ");
        control<QTextEdit>("rtfDescription")->setPlainText("New description");
        control<QTextEdit>("rtfScript")->setPlainText("y = 2");
        EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), "var a = 1;\nvar b = 2;");
        control<QPushButton>("cmdOk")->click();
    });
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonOk});
    EXPECT_FALSE(window()->isVisible());
    EXPECT_EQ(executionEngineXml(), "<ExecutionEngine><![CDATA[Main]]></ExecutionEngine>");
    EXPECT_EQ(globals().gobjSharedData->Description(), "New description");
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), "y = 2");
}

TEST_F(EditorTest, OkStoresTheTrimmedEngineInTheFirstChildOfItsElement)
{
    const struct
    {
        const char* stored;
        const char* typed;
        const char* expected;
    } rows[] = {
        {"<ExecutionEngine/>", "   ", "<ExecutionEngine><![CDATA[]]></ExecutionEngine>"},
        {"<ExecutionEngine>Old</ExecutionEngine>", " New ", "<ExecutionEngine>New</ExecutionEngine>"},
        {"<ExecutionEngine><![CDATA[A]]><![CDATA[B]]></ExecutionEngine>", "C",
         "<ExecutionEngine><![CDATA[C]]><![CDATA[B]]></ExecutionEngine>"},
    };
    for (const auto& row : rows) {
        open(activityXml("VBScript", "x = 1", row.stored));
        show([&](QDialog&) {
            control<QLineEdit>("txtExecutionEngine")->setText(row.typed);
            control<QPushButton>("cmdOk")->click();
        });
        EXPECT_EQ(executionEngineXml(), row.expected) << row.stored;
    }
}

// ---------------------------------------------------------------------------------------------
// Syntax check

TEST_F(EditorTest, SyntaxCheckShowsTheOutcomeInItsMessageBox_TheSameEachTime)
{
    const struct
    {
        const char* language;
        const char* script;
        const char* text; // how the box starts
    } rows[] = {
        {"VBScript", "Function Total()\n    Total = CDbl(DataRiver(\"Amount\")) * 2\nEnd Function\nTotal",
         "Syntax Code Ok !!!"},
        {"JScript", "function total() { return DataRiver(\"Amount\") * 2; }", "Syntax Code Ok !!!"},
        {"VBScript", "Dim a\na = \"never closed\nb = 1", "Error.\r\nNumber: 1033\r\nDesc: Unterminated string"},
        {"JScript", "var a = ;", "Error.\r\nNumber: 1002\r\nDesc: Syntax error"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        open(activityXml(row.language, row.script));
        ui->shown.clear();
        showAndCancel([&](QDialog&) {
            control<QToolButton>("cmdCheckSyntax")->click();
            control<QToolButton>("cmdCheckSyntax")->click();
        });
        ASSERT_EQ(ui->shown.size(), 2u);
        EXPECT_EQ(ui->shown[1].text, ui->shown[0].text);
        const ShownMessage& box = ui->shown.front();
        EXPECT_TRUE(box.text.starts_with(row.text)) << box.text;
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        const bool passes = box.text == "Syntax Code Ok !!!";
        EXPECT_EQ(box.title, passes ? "Ombrel External Process" : " Script Editor");
        EXPECT_EQ(box.icon, passes ? MessageIcon::Information : MessageIcon::None);
        if (!passes) {
            // Once the message is closed, the caret waits where the engine found the error.
            const auto field = [&](const char* name) {
                const std::size_t at = box.text.find(name) + std::strlen(name);
                return box.text.substr(at, box.text.find('\r', at) - at);
            };
            EXPECT_EQ(control<QLabel>("lblCaretPosition")->text().toStdString(),
                      "Ln " + field("Line: ") + ", Col " + field("Column: "));
            EXPECT_EQ(control<CodeEditor>("rtfScript")->markedLine(), std::stoi(field("Line: ")));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Colouring and the clipboard

TEST_F(EditorTest, ColouringKeepsTheCaret_AndNewTextDropsTheOldColours)
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
        form().SetScriptText("plain text");
        EXPECT_FALSE(hasColouredText(box->document()));
        EXPECT_EQ(box->toPlainText(), "plain text");
    });
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(EditorTest, LiveColoursEqualTheButtons_AndTypingSurvivesColouringInUndoAndInTheStore)
{
    const std::pair<const char*, const char*> rows[] = {
        {"VBScript", "x = 1 ' note\r\nRem all\nIf x Then s = \"a\"\"b\" & #1/2/2024#\n' é {\\}"},
        {"JScript", "var s = 'it\\'s'; /* open\n still */ x = 0x1F;\n// done\r\nif (a) { b(); }"},
    };
    for (const auto& [language, script] : rows) {
        SCOPED_TRACE(script);
        open(activityXml(language, script));
        const std::string stored = hostState().gobjRobot->GetEvalCode();
        show([&](QDialog&) {
            auto* box = control<QTextEdit>("rtfScript");
            const std::vector<std::string> live = shownColours(box->document());
            EXPECT_TRUE(hasColouredText(box->document()));
            box->moveCursor(QTextCursor::End);
            press(box, Qt::Key_Z, Qt::NoModifier, "z");
            const int caret = box->textCursor().position();
            control<QToolButton>("cmdColorizeCode")->click();
            EXPECT_EQ(box->textCursor().position(), caret);
            std::vector<std::string> coloured = shownColours(box->document());
            coloured.pop_back(); // the typed letter
            EXPECT_EQ(coloured, live);
            press(box, Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(KeptText::shownText(*box), hostparts::Colorizer::shownText(script));
            press(box, Qt::Key_9, Qt::NoModifier, "9");
            control<QPushButton>("cmdOk")->click();
        });
        EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), stored + "9");
    }
}

TEST_F(EditorTest, ReplaceAllHonoursCaseAndWholeWord_InCodeStringsAndCommentsAlike_AsOneUndoStep)
{
    const char* const script = "total = 1 ' total here\nmsg = \"Total\"\nsubtotal = total";
    const struct
    {
        bool matchCase, wholeWord;
        int count;
        const char* replaced;
    } rows[] = {
        {true, true, 3, "sum = 1 ' sum here\nmsg = \"Total\"\nsubtotal = sum"},
        {false, true, 4, "sum = 1 ' sum here\nmsg = \"sum\"\nsubtotal = sum"},
        {true, false, 4, "sum = 1 ' sum here\nmsg = \"Total\"\nsubsum = sum"},
    };
    for (const auto& row : rows) {
        open(activityXml("VBScript", script));
        showAndCancel([&](QDialog&) {
            auto* box = control<QTextEdit>("rtfScript");
            auto* bar = control<FindBar>("fraFind");
            bar->showFind(true);
            bar->txtFind->setText("total");
            bar->txtReplace->setText("sum");
            bar->chkMatchCase->setChecked(row.matchCase);
            bar->chkWholeWord->setChecked(row.wholeWord);
            EXPECT_EQ(bar->replaceAll(), row.count);
            EXPECT_EQ(box->toPlainText().toStdString(), row.replaced);
            box->undo();
            EXPECT_EQ(box->toPlainText().toStdString(), script);
            // Find next wraps round from the end, backwards from the start.
            box->moveCursor(QTextCursor::End);
            ASSERT_TRUE(bar->findNext());
            EXPECT_EQ(box->textCursor().selectionStart(), 0);
            ASSERT_TRUE(bar->findNext(true));
            EXPECT_EQ(box->textCursor().selectionEnd(), static_cast<int>(std::strlen(script)));
        });
    }
}

TEST_F(EditorTest, EditingKeys_CommentIndentAndNewLineFollowTheLanguage)
{
    const struct
    {
        const char* language;
        const char* script;
        int from, to; // the selection
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* after;
    } rows[] = {
        {"VBScript", "a = 1\n  b = 2\n", 0, 13, Qt::Key_Slash, Qt::ControlModifier, "'a = 1\n'  b = 2\n"},
        {"VBScript", "'a = 1\n  ' b = 2", 0, 16, Qt::Key_Slash, Qt::ControlModifier, "a = 1\n   b = 2"},
        {"JScript", "  a();\n\n  b();", 0, 14, Qt::Key_Slash, Qt::ControlModifier, "  //a();\n\n  //b();"},
        {"VBScript", "a\n\tb\n  c", 0, 8, Qt::Key_Tab, Qt::NoModifier, "    a\n    \tb\n      c"},
        {"VBScript", "a\n\tb\n      c", 0, 12, Qt::Key_Backtab, Qt::ShiftModifier, "a\nb\n  c"},
        {"VBScript", "  If x Then", 11, 11, Qt::Key_Return, Qt::NoModifier, "  If x Then\n      "},
        {"VBScript", "  x = 1 ' Then", 14, 14, Qt::Key_Return, Qt::NoModifier, "  x = 1 ' Then\n  "},
        {"VBScript", "Private Function F()", 20, 20, Qt::Key_Return, Qt::NoModifier, "Private Function F()\n    "},
        {"JScript", "  if (a) {", 10, 10, Qt::Key_Return, Qt::NoModifier, "  if (a) {\n      "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        open(activityXml(row.language, row.script));
        showAndCancel([&](QDialog&) {
            auto* box = control<QTextEdit>("rtfScript");
            QTextCursor selection = box->textCursor();
            selection.setPosition(row.from);
            selection.setPosition(row.to, QTextCursor::KeepAnchor);
            box->setTextCursor(selection);
            press(box, row.key, row.modifiers, row.key == Qt::Key_Return ? "\r" : "");
            EXPECT_EQ(box->toPlainText().toStdString(), row.after);
            box->undo();
            EXPECT_EQ(box->toPlainText().toStdString(), row.script);
        });
    }
}

TEST_F(EditorTest, IdleCheckMarksTheFirstErrorOffTheWindowThread_AndAnEditClearsIt)
{
    open(activityXml("VBScript", "x = 1"));
    showAndCancel([&](QDialog&) {
        auto* box = control<CodeEditor>("rtfScript");
        // Runs the event loop in steps of 20 ms until the condition holds or the steps run out.
        auto waitFor = [](int steps, auto&& condition) {
            for (int i = 0; i < steps && !condition(); ++i) {
                QEventLoop loop;
                QTimer::singleShot(20, &loop, &QEventLoop::quit);
                loop.exec();
            }
            return condition();
        };
        box->moveCursor(QTextCursor::End);
        box->textCursor().insertText("\ny = \"open");
        EXPECT_EQ(box->idleError().Number, 0) << "nothing is checked before the pause";
        ASSERT_TRUE(waitFor(250, [&] { return box->idleError().Number != 0; }));
        EXPECT_EQ(box->idleError().Number, 1033);
        EXPECT_EQ(box->idleError().Line, 2);
        box->textCursor().insertText("\"");
        EXPECT_EQ(box->idleError().Number, 0);
        box->setJScript(true); // the same text read as JScript has no error either
        EXPECT_FALSE(waitFor(50, [&] { return box->idleError().Number != 0; }));
    });
}

TEST_F(EditorTest, ClipboardButtonsWorkOnTheScriptSelection)
{
    const struct
    {
        const char* button;
        int selectFrom;
        int selectTo;
        const char* clipboardBefore;
        const char* clipboardAfter;
        const char* scriptAfter;
    } rows[] = {
        {"cmdCut", 3, 3, "old", "", "alpha\nbeta"},
        {"cmdCopy", 3, 8, "", "ha\nbe", "alpha\nbeta"},
        {"cmdCut", 3, 8, "", "ha\nbe", "alpta"},
        {"cmdPaste", 0, 5, "gamma", "gamma", "gamma\nbeta"},
    };
    for (const auto& row : rows) {
        open(activityXml("VBScript", "alpha\nbeta"));
        ui->clipboard = row.clipboardBefore;
        showAndCancel([&](QDialog&) {
            auto* box = control<QTextEdit>("rtfScript");
            QTextCursor selection = box->textCursor();
            selection.setPosition(row.selectFrom);
            selection.setPosition(row.selectTo, QTextCursor::KeepAnchor);
            box->setTextCursor(selection);
            control<QToolButton>(row.button)->click();
            EXPECT_EQ(box->toPlainText().toStdString(), row.scriptAfter) << row.button;
        });
        EXPECT_EQ(ui->clipboard, row.clipboardAfter) << row.button;
    }
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(EditorTest, OkGivesBackUntouchedTextByteForByte_AndAnEditChangesOnlyWhatWasEdited)
{
    // A no-break space, a line separator, a paragraph separator and a character beyond 16 bits:
    // the box shows each differently from how it is stored.
    const std::string script = "a\u00A0b\u2028c\u2029d = \"\U0001F600\"\ne";
    const std::string description = "x\u00A0\u00A0y\u2029z";
    open(activityXml("VBScript", script, "<ExecutionEngine/>", "en", description));
    show([&](QDialog&) { control<QPushButton>("cmdOk")->click(); });
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), script);
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
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), "a\u00A0b\u2028cX\u2029d = \"\U0001F600\"\ne\nf");
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
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), "x = 1");
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

// ---------------------------------------------------------------------------------------------
// Errors raised behind the window's controls: shown, logged, and the window stays open.

TEST_F(EditorTest, HandlerErrorsAreShownWithTheHandlersTags_LoggedAndTheWindowStaysOpen)
{
    std::optional<ComponentReplaced> noColouring;
    const struct
    {
        std::function<void()> act;
        const char* text;   // how the last message box starts
        const char* source; // how it ends
        const char* log;    // the log file that has it, and what it has
        const char* logged;
    } rows[] = {
        {[&] { ui->clipboardFails = true, control<QToolButton>("cmdCopy")->click(); },
         "Error: ", "\rSource: Clipboard frmMain.Copy()  frmMain.cmdCopy_Click() ", "zeltest.Reports.Log",
         "Clipboard frmMain.Copy()  frmMain.cmdCopy_Click() "},
        {[&] { ui->clipboardFails = true, control<QToolButton>("cmdCut")->click(); },
         "Error: ", "\rSource: Clipboard frmMain.Copy()  frmMain.cmdCut_Click() ", "zeltest.Reports.Log",
         "Clipboard frmMain.Copy()  frmMain.cmdCut_Click() "},
        {[&] { ui->clipboardFails = true, control<QToolButton>("cmdPaste")->click(); },
         "Error: ", "\rSource: Clipboard frmMain.Paste()  frmMain.cmdPaste_Click() ", "zeltest.Reports.Log",
         "Clipboard frmMain.Paste()  frmMain.cmdPaste_Click() "},
        {[&] {
             hostState().gobjRobot->SetFreeDefinition(XmlNode());
             control<QComboBox>("cmbScriptLanguage")->setCurrentIndex(1);
         },
         "Error: ", "\rSource:  cRobot.SetLanguage()  frmMain.cmbScriptLanguage_Click() ", "zeltest.Reports.Log",
         " cRobot.SetLanguage()  frmMain.cmbScriptLanguage_Click() "},
        {[&] { noColouring.emplace(kClsidColorizer), control<QToolButton>("cmdColorizeCode")->click(); },
         "Error: 429\rDescription: ", " frmMain.ColorizeCode()  frmMain.cmdColorizeCode_Click() ",
         "zeltest.Reports.Log", " frmMain.ColorizeCode()  frmMain.cmdColorizeCode_Click() "},
        // The question, the wizard's absence, then the error of the colouring that follows it.
        {[&] { noColouring.emplace(kClsidColorizer), control<QToolButton>("cmdWizard")->click(); }, "Error.\r\nDesc: ",
         " frmMain.ColorizeCode()  frmMain.cmdWizard_Click() ", "zeltest.Log", " frmMain.cmdWizard_Click() "},
        {[&] {
             globals().gobjSharedData->PropertiesNode().removeChildren();
             control<QPushButton>("cmdOk")->click();
         },
         "Error.\r\nDesc: ", " frmMain.Validate()  frmMain.cmdOk_Click() ", "zeltest.Log",
         " frmMain.Validate()  frmMain.cmdOk_Click() "},
        // The form engine logs the host's refusal on the way, and the window once more at its end.
        {[&] {
             notifier.failOnButton = kButtonCancel;
             control<QPushButton>("cmdCancel")->click();
             notifier.failOnButton = -1;
         },
         "Error.\r\nDesc: ", "Host.ButtonClick cFormEngine.ofrmMain_ButtonClick()  frmMain.cmdCancel_Click() ",
         "zeltest.Log", "Host.ButtonClick  ofrmMain_ButtonClick "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.source);
        open(activityXml("VBScript", "alpha"));
        ui->shown.clear();
        notifier.buttons.clear();
        showAndCancel([&](QDialog& dialog) {
            row.act();
            noColouring.reset();
            ui->clipboardFails = false;
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_TRUE(notifier.buttons.empty());
        });
        EXPECT_EQ(notifier.buttons, std::vector<int32_t>{kButtonCancel});
        ASSERT_FALSE(ui->shown.empty());
        const ShownMessage& box = ui->shown.back();
        EXPECT_EQ(box.icon, MessageIcon::Critical);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(box.title, " Script Editor");
        EXPECT_TRUE(box.text.starts_with(row.text)) << box.text;
        EXPECT_TRUE(box.text.ends_with(row.source)) << box.text;
        const std::string log = readFile(folder / row.log);
        EXPECT_NE(log.find(row.logged), std::string::npos) << log;
    }
}

// ---------------------------------------------------------------------------------------------
// The wizard button

TEST_F(EditorTest, WizardQuestion_NoChangesNothing_YesWithoutAWizardTellsTheUserAndColours)
{
    CountingColorizerScope colouring;
    open(activityXml("VBScript", "x = 1"));
    ui->answers.push_back(MessageResult::No);
    showAndCancel([&](QDialog&) {
        const int colouredBefore = CountingColorizer::calls;
        control<QTextEdit>("rtfScript")->setPlainText("typed but not stored");
        control<QToolButton>("cmdWizard")->click();
        EXPECT_EQ(CountingColorizer::calls, colouredBefore);
        control<QToolButton>("cmdWizard")->click();
        EXPECT_EQ(CountingColorizer::calls, colouredBefore + 1);
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "typed but not stored");
    });
    ASSERT_EQ(ui->shown.size(), 3u);
    for (int i : {0, 1}) {
        EXPECT_EQ(ui->shown[i].text, "The wizard replaces the current script with the code it generates.\nDo you "
                                     "want to continue?");
        EXPECT_EQ(ui->shown[i].buttons, MessageButtons::YesNo);
    }
    EXPECT_EQ(ui->shown[2].text, "The web-service wizard is not available yet.");
    EXPECT_EQ(ui->shown[2].buttons, MessageButtons::Ok);
    for (const ShownMessage& box : ui->shown) {
        EXPECT_EQ(box.title, frmMain::kProgramTitle);
        EXPECT_EQ(box.icon, MessageIcon::Information);
    }
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), "x = 1");
    EXPECT_EQ(hostState().gobjRobot->GetAdditionalDefinition(), "");
}

// Installs a web-service wizard that hands back a fixed outcome, and counts its showings.
class FakeWizardScope
{
public:
    explicit FakeWizardScope(WizardOutcome outcome) : outcome(std::move(outcome)) {}
    WizardOutcome outcome;
    int shown = 0;

private:
    Installed<std::function<WizardOutcome(QWidget*)>> m_installed{toolkitSetter<&Toolkit::webServiceWizard>(),
                                                                  [this](QWidget*) {
                                                                      ++shown;
                                                                      return outcome;
                                                                  }};
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
        EXPECT_EQ(hostState().gobjRobot->GetAdditionalDefinition(), "");
        EXPECT_EQ(CountingColorizer::calls, colouredBefore + 1);

        wizard.outcome = {"Dim result\nresult = Add(1, 2)", kDefinition};
        colouredBefore = CountingColorizer::calls;
        control<QToolButton>("cmdWizard")->click();
        EXPECT_EQ(wizard.shown, 2);
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "Dim result\nresult = Add(1, 2)");
        EXPECT_EQ(hostState().gobjRobot->GetAdditionalDefinition(), kDefinition);
        EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), "old = 1");
        EXPECT_EQ(CountingColorizer::calls, colouredBefore + 1);
        control<QPushButton>("cmdOk")->click();
    });
    EXPECT_EQ(ui->shown.size(), 2u); // the two questions only
    EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), "Dim result\nresult = Add(1, 2)");
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
        EXPECT_EQ(control<QToolButton>("cmdCheckSyntax")->toolTip(), "Comprobar la sintaxis");
        EXPECT_EQ(control<QLabel>("lblExecutionEngine")->text(), QString::fromUtf8("Motor de ejecución"));

        engine->ChangeInterfaceLanguage("xx");
        EXPECT_EQ(globals().gstrLanguageId, "xx");
        EXPECT_EQ(engine->GetCaption(), " Editor de scripts");
        EXPECT_EQ(control<QPushButton>("cmdOk")->text(), "&Aceptar");
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
    // The form's colour does not reach the tool bar through it either.
    RecordingSkin skin(
        {{"GetFormBackColor", 0x405060}, {"GetToolbarBackColor", -1}, {"GetToolbarColorFont", 0x303030}});
    open(activityXml("VBScript", "x = 1"), &skin);
    frmMain design({});
    for (const char* name : kToolBar) {
        const QPalette& palette = control<QWidget>(name)->palette();
        EXPECT_EQ(palette.color(QPalette::Window), designed(design, name)->palette().color(QPalette::Window)) << name;
        EXPECT_EQ(palette.color(QPalette::Button), designed(design, name)->palette().color(QPalette::Button)) << name;
        EXPECT_TRUE(control<QWidget>(name)->autoFillBackground()) << name;
        EXPECT_EQ(palette.color(QPalette::ButtonText), QColor(0x30, 0x30, 0x30)) << name;
    }
    EXPECT_EQ(window()->palette().color(QPalette::Window), QColor(0x60, 0x50, 0x40));
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
