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
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolButton>
#include <QToolTip>

#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <tuple>

namespace zel::test {
namespace {

using EditorTest = EditorFixture;

// Colours keywords red instead of blue.
class RedKeywordsColorizer final : public IColorizer
{
public:
    std::string Colorize(std::string_view plainText) override
    {
        std::string rtf = hostparts::Colorizer().Colorize(plainText);
        return rtf.replace(rtf.find("\\red0\\green51\\blue179"), 21, "\\red255\\green0\\blue0");
    }
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

// Selects from..to in box (the caret ends at to).
void select(QTextEdit* box, int from, int to)
{
    QTextCursor selection = box->textCursor();
    selection.setPosition(from);
    selection.setPosition(to, QTextCursor::KeepAnchor);
    box->setTextCursor(selection);
}

// ---------------------------------------------------------------------------------------------
// Filling and storing

TEST_F(EditorTest, FillsTheControls_TheStoredLanguageIsSelectedOnlyWhenItMatchesExactly_OkStoresTheRest)
{
    // The stored language and the one shown; the stored engine, the one shown, the one typed and
    // what Ok stores (the trimmed engine, in the element's first child).
    const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*> rows[] = {
        {"JScript", "JScript", "<ExecutionEngine><![CDATA[Node 7]]></ExecutionEngine>", "Node 7", "  Main  ",
         "<ExecutionEngine><![CDATA[Main]]></ExecutionEngine>"},
        {"jscript", "VBScript", "<ExecutionEngine/>", "", "   ", "<ExecutionEngine><![CDATA[]]></ExecutionEngine>"},
        {"Python", "VBScript", "<ExecutionEngine>Old</ExecutionEngine>", "Old", " New ",
         "<ExecutionEngine>New</ExecutionEngine>"},
        {"", "VBScript", "<ExecutionEngine><![CDATA[A]]><![CDATA[B]]></ExecutionEngine>", "AB", "C",
         "<ExecutionEngine><![CDATA[C]]><![CDATA[B]]></ExecutionEngine>"},
    };
    for (const auto& [language, shown, stored, engineShown, typed, expected] : rows) {
        SCOPED_TRACE(stored);
        open(activityXml(language, "var a = 1;\nvar b = 2;", stored, "en", "Adds two numbers"));
        show([&](QDialog&) {
            auto* list = control<QComboBox>("cmbScriptLanguage");
            ASSERT_EQ(list->count(), 2);
            EXPECT_EQ(list->itemText(0), "VBScript");
            EXPECT_EQ(list->currentText().toStdString(), shown);
            EXPECT_EQ(hostState().gobjRobot->GetLanguage(), language) << "filling never writes the document";
            EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "var a = 1;\nvar b = 2;");
            EXPECT_EQ(control<QTextEdit>("rtfDescription")->toPlainText(), "Adds two numbers");
            EXPECT_EQ(control<QLineEdit>("txtExecutionEngine")->text().toStdString(), engineShown);
            // Screen readers find every control by a name: its caption, its label's text or its tip.
            EXPECT_EQ(control<QTextEdit>("rtfDescription")->accessibleName(), "Description");
            expectAccessibleNames(*window());
            // A language chosen is written at once; the rest waits for Ok.
            list->setCurrentIndex(1 - list->currentIndex());
            EXPECT_EQ(hostState().gobjRobot->GetLanguage(), list->currentText().toStdString());
            control<QLineEdit>("txtExecutionEngine")->setText(typed);
            control<QTextEdit>("rtfDescription")->setPlainText("New description");
            control<QTextEdit>("rtfScript")->setPlainText("y = 2");
            EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), "var a = 1;\nvar b = 2;");
            control<QPushButton>("cmdOk")->click();
        });
        EXPECT_EQ(notifier.events.back(), "Button1");
        EXPECT_EQ(globals().gobjSharedData->PropertiesNode().child("ExecutionEngine").xml(), expected);
        EXPECT_EQ(globals().gobjSharedData->Description(), "New description");
        EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), "y = 2");
    }
    show([](QDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(notifier.events.back(), "Button0") << "Escape is Cancel";
}

// ---------------------------------------------------------------------------------------------
// Colouring

TEST_F(EditorTest, LiveColoursEqualTheButtons_ColouringKeepsTheCaret_TypingSurvivesItInUndoAndInTheStore)
{
    const std::pair<const char*, const char*> rows[] = {
        {"VBScript", "x = 1 ' note\r\nRem all\nIf x Then s = \"a\"\"b\" & #1/2/2024#\n' é {\\}"},
        {"JScript", "var s = 'it\\'s'; /* open\n still */ x = 0x1F;\n// done\r\nif (a) { b(); }"},
        // Accents, braces and backslashes are escaped in RTF, so the rich text is far longer.
        {"VBScript", "' {ñandú} \\ é\nx = \"{}\\\" ' ü\nIf x Then y = 1"},
    };
    for (const auto& [language, script] : rows) {
        SCOPED_TRACE(script);
        open(activityXml(language, script));
        const std::string stored = hostState().gobjRobot->GetEvalCode();
        show([&](QDialog&) {
            auto* box = control<QTextEdit>("rtfScript");
            const std::vector<std::string> live = shownColours(box->document());
            for (int position : {0, 5, 14, 20}) {
                select(box, position, position);
                control<QToolButton>("cmdColorizeCode")->click();
                EXPECT_EQ(box->textCursor().position(), position);
                EXPECT_EQ(KeptText::shownText(*box), hostparts::Colorizer::shownText(script));
            }
            {
                // The colours shown are the colouring component's, not the live ones.
                ComponentReplaced red(kClsidColorizer, [] { return std::make_unique<RedKeywordsColorizer>(); });
                control<QToolButton>("cmdColorizeCode")->click();
                std::vector<std::string> reds = live;
                std::replace(reds.begin(), reds.end(), std::string("#0033b3"), std::string("#ff0000"));
                EXPECT_NE(reds, live);
                EXPECT_EQ(shownColours(box->document()), reds);
            }
            box->moveCursor(QTextCursor::End);
            QTest::keyClick(box, Qt::Key_Z);
            const int caret = box->textCursor().position();
            control<QToolButton>("cmdColorizeCode")->click();
            EXPECT_EQ(box->textCursor().position(), caret);
            std::vector<std::string> coloured = shownColours(box->document());
            coloured.pop_back(); // the typed letter
            EXPECT_EQ(coloured, live);
            QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(KeptText::shownText(*box), hostparts::Colorizer::shownText(script));
            QTest::keyClick(box, Qt::Key_9);
            control<QPushButton>("cmdOk")->click();
        });
        EXPECT_EQ(hostState().gobjRobot->GetEvalCode(), stored + "9");
        // New text drops the old colours.
        form().SetScriptText("plain text");
        EXPECT_EQ(shownColours(control<QTextEdit>("rtfScript")->document()), std::vector<std::string>(9, "#1f1f1f"));
        EXPECT_EQ(control<QTextEdit>("rtfScript")->toPlainText(), "plain text");
        // A text of more lines widens the gutter, and the text moves right with it.
        form().SetScriptText(std::string(999, '\n'));
        auto* editor = control<CodeEditor>("rtfScript");
        EXPECT_EQ(editor->viewport()->x() - editor->contentsRect().left(), editor->gutterWidth());
    }
    EXPECT_TRUE(ui->shown.empty());
}

// Installs a web-service wizard that hands back outcome, and counts its showings in shown.
struct FakeWizard : Installed<std::function<WizardOutcome(QWidget*)>>
{
    FakeWizard(WizardOutcome outcome, int& shown)
        : Installed(toolkitSetter<&Toolkit::webServiceWizard>(),
                    [outcome, &shown](QWidget*) { return ++shown, outcome; })
    {
    }
};

const char* const kDefinition = "<Definition><WebService><![CDATA[Calculator]]></WebService></Definition>";

// ---------------------------------------------------------------------------------------------
// The script box's features, driven in turn on one showing

TEST_F(EditorTest, Clipboard_WizardButton_SyntaxCheck_EditingKeys_ReplaceAndFind_Shortcuts_AndTheIdleCheck)
{
    open(activityXml("VBScript", "alpha\nbeta"));
    showAndCancel([&](QDialog& dialog) {
        auto* box = control<CodeEditor>("rtfScript");
        auto* bar = control<FindBar>("fraFind");
        const auto write = [&](const char* language, const char* script) {
            control<QComboBox>("cmbScriptLanguage")->setCurrentText(language);
            box->setPlainText(script);
        };

        // The button, the selection, the clipboard before and after it, the script after it.
        const std::tuple<const char*, int, int, const char*, const char*, const char*> clipboardRows[] = {
            {"cmdCut", 3, 3, "old", "", "alpha\nbeta"},
            {"cmdCopy", 3, 8, "", "ha\nbe", "alpha\nbeta"},
            {"cmdCut", 3, 8, "", "ha\nbe", "alpta"},
            {"cmdPaste", 0, 2, "gamma", "gamma", "gammapta"},
        };
        for (const auto& [button, from, to, clipboardBefore, clipboardAfter, scriptAfter] : clipboardRows) {
            ui->clipboard = clipboardBefore;
            select(box, from, to);
            control<QToolButton>(button)->click();
            EXPECT_EQ(box->toPlainText().toStdString(), scriptAfter) << button;
            EXPECT_EQ(ui->clipboard, clipboardAfter) << button;
        }

        // The wizard button asks first: No changes nothing; a wizard's code replaces the script,
        // coloured, and its definition goes with it (the clipboard buttons showed no message).
        ui->answers.push_back(MessageResult::No);
        control<QToolButton>("cmdWizard")->click();
        int shown = 0;
        FakeWizard wizard({"Dim result\nresult = Add(1, 2)", kDefinition}, shown);
        control<QToolButton>("cmdWizard")->click();
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(box->toPlainText(), "Dim result\nresult = Add(1, 2)");
        EXPECT_EQ(shownColours(box->document()).front(), "#0033b3");
        EXPECT_EQ(hostState().gobjRobot->GetAdditionalDefinition(), kDefinition);
        ASSERT_EQ(ui->shown.size(), 2u);
        EXPECT_EQ(ui->shown[1].text, "The wizard replaces the current script with the code it generates.\nDo you want "
                                     "to continue?");
        EXPECT_EQ(ui->shown[1].buttons, MessageButtons::YesNo);

        // The syntax check shows its outcome in a message box, the same each time. The language,
        // the script, how the box starts.
        const std::tuple<const char*, const char*, const char*> syntaxRows[] = {
            {"VBScript", "Function Total()\n    Total = CDbl(DataRiver(\"Amount\")) * 2\nEnd Function\nTotal",
             "Syntax Code Ok !!!"},
            {"VBScript", "Dim a\na = \"never closed\nb = 1", "Error.\r\nNumber: 1033\r\nDesc: Unterminated string"},
            {"JScript", "var a = ;", "Error.\r\nNumber: 1002\r\nDesc: Syntax error"},
        };
        for (const auto& [language, script, text] : syntaxRows) {
            SCOPED_TRACE(script);
            write(language, script);
            ui->shown.clear();
            control<QToolButton>("cmdCheckSyntax")->click();
            control<QToolButton>("cmdCheckSyntax")->click();
            ASSERT_EQ(ui->shown.size(), 2u);
            EXPECT_EQ(ui->shown[1].text, ui->shown[0].text);
            const ShownMessage& shown = ui->shown.front();
            EXPECT_TRUE(shown.text.starts_with(text)) << shown.text;
            EXPECT_EQ(shown.buttons, MessageButtons::Ok);
            const bool passes = shown.text == "Syntax Code Ok !!!";
            EXPECT_EQ(shown.title, passes ? "Ombrel External Process" : " Script Editor");
            EXPECT_EQ(shown.icon, passes ? MessageIcon::Information : MessageIcon::None);
            if (!passes) {
                // Once the message is closed, the caret waits where the engine found the error.
                const auto field = [&](const char* name) {
                    const std::size_t at = shown.text.find(name) + std::strlen(name);
                    return shown.text.substr(at, shown.text.find('\r', at) - at);
                };
                EXPECT_EQ(control<QLabel>("lblCaretPosition")->text().toStdString(),
                          "Ln " + field("Line: ") + ", Col " + field("Column: "));
                EXPECT_EQ(box->markedLine(), std::stoi(field("Line: ")));
            }
        }

        // The editing keys follow the language: the language, the script, the selection, the key
        // pressed and the script after.
        const std::tuple<const char*, const char*, int, int, int, Qt::KeyboardModifiers, const char*> keyRows[] = {
            {"VBScript", "a = 1\n  b = 2\n", 0, 13, Qt::Key_Slash, Qt::ControlModifier, "'a = 1\n'  b = 2\n"},
            {"VBScript", "'a = 1\n  ' b = 2", 0, 16, Qt::Key_Slash, Qt::ControlModifier, "a = 1\n   b = 2"},
            {"JScript", "  a();\n\n  b();", 0, 14, Qt::Key_Slash, Qt::ControlModifier, "  //a();\n\n  //b();"},
            {"VBScript", "a\n\tb\n  c", 0, 8, Qt::Key_Tab, Qt::NoModifier, "    a\n    \tb\n      c"},
            {"VBScript", "a\n\tb\n      c", 0, 12, Qt::Key_Backtab, Qt::ShiftModifier, "a\nb\n  c"},
            {"VBScript", "  If x Then", 11, 11, Qt::Key_Return, Qt::NoModifier, "  If x Then\n      "},
            {"VBScript", "  x = 1 ' Then", 14, 14, Qt::Key_Return, Qt::NoModifier, "  x = 1 ' Then\n  "},
            {"VBScript", "Private Function F()", 20, 20, Qt::Key_Return, Qt::NoModifier, "Private Function F()\n    "},
            {"JScript", "  if (a) {", 10, 10, Qt::Key_Return, Qt::NoModifier, "  if (a) {\n      "},
            // A line that ends a block goes back to the level of the line that opened it.
            {"VBScript", "If a Then\n    If b Then\n    End If\n    End If", 45, 45, Qt::Key_Return, Qt::NoModifier,
             "If a Then\n    If b Then\n    End If\nEnd If\n"},
            {"VBScript", "  Select Case x\n    Case 1\n      y\n      End Select", 51, 51, Qt::Key_Return,
             Qt::NoModifier, "  Select Case x\n    Case 1\n      y\n  End Select\n  "},
            {"JScript", "if (a) {\n    b();\n    } else {", 30, 30, Qt::Key_Return, Qt::NoModifier,
             "if (a) {\n    b();\n} else {\n    "},
            {"VBScript", "  Next", 6, 6, Qt::Key_Return, Qt::NoModifier, "  Next\n  "},
        };
        for (const auto& [language, script, from, to, key, modifiers, after] : keyRows) {
            SCOPED_TRACE(script);
            write(language, script);
            select(box, from, to);
            QTest::keyClick(box, static_cast<Qt::Key>(key), modifiers);
            EXPECT_EQ(box->toPlainText().toStdString(), after);
            box->undo();
            EXPECT_EQ(box->toPlainText().toStdString(), script);
        }

        // Replace all honours case and whole word, in code, strings and comments alike, as one
        // undo step: match case, whole word, the count replaced and the text after.
        const char* const script = "total = 1 ' total here\nmsg = \"Total\"\nsubtotal = total";
        const std::tuple<bool, bool, int, const char*> replaceRows[] = {
            {true, true, 3, "sum = 1 ' sum here\nmsg = \"Total\"\nsubtotal = sum"},
            {false, true, 4, "sum = 1 ' sum here\nmsg = \"sum\"\nsubtotal = sum"},
            {true, false, 4, "sum = 1 ' sum here\nmsg = \"Total\"\nsubsum = sum"},
        };
        write("VBScript", script);
        bar->showFind(true);
        bar->txtFind->setText("total");
        bar->txtReplace->setText("sum");
        for (const auto& [matchCase, wholeWord, count, replaced] : replaceRows) {
            bar->chkMatchCase->setChecked(matchCase);
            bar->chkWholeWord->setChecked(wholeWord);
            EXPECT_EQ(bar->replaceAll(), count);
            EXPECT_EQ(box->toPlainText().toStdString(), replaced);
            box->undo();
            EXPECT_EQ(box->toPlainText().toStdString(), script);
        }
        // Find next wraps round from the end, backwards from the start.
        box->moveCursor(QTextCursor::End);
        ASSERT_TRUE(bar->findNext());
        EXPECT_EQ(box->textCursor().selectionStart(), 0);
        ASSERT_TRUE(bar->findNext(true));
        EXPECT_EQ(box->textCursor().selectionEnd(), static_cast<int>(std::strlen(script)));

        // The keyboard shortcuts of the active window reach the bar and the script: the selection
        // set first (none when -1), the key pressed in the script box, what it did.
        write("VBScript", "a = 1\nb = 2\nb = 3");
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        const std::tuple<int, int, int, Qt::KeyboardModifiers, std::function<bool()>> shortcutRows[] = {
            {6, 7, Qt::Key_F, Qt::ControlModifier,
             [&] { return bar->txtFind->isVisible() && bar->txtFind->text() == "b" && !bar->txtReplace->isVisible(); }},
            {-1, -1, Qt::Key_H, Qt::ControlModifier, [&] { return bar->txtReplace->isVisible(); }},
            {-1, -1, Qt::Key_F3, Qt::NoModifier, [&] { return box->textCursor().selectionStart() == 12; }},
            {-1, -1, Qt::Key_G, Qt::ControlModifier,
             [&] { return bar->spnGoToLine->isVisible() && bar->spnGoToLine->value() == 3; }},
        };
        for (const auto& [from, to, key, modifiers, done] : shortcutRows) {
            if (from >= 0)
                select(box, from, to);
            QTest::keyClick(box, static_cast<Qt::Key>(key), modifiers);
            EXPECT_TRUE(done()) << QKeySequence(key | modifiers).toString().toStdString();
        }

        // The idle check marks the first error off the window thread, and an edit clears it.
        write("VBScript", "x = 1");
        box->moveCursor(QTextCursor::End);
        box->textCursor().insertText("\ny = \"open");
        EXPECT_EQ(box->idleError().Number, 0) << "nothing is checked before the pause";
        ASSERT_TRUE(QTest::qWaitFor([&] { return box->idleError().Number != 0; }));
        EXPECT_EQ(box->idleError().Number, 1033);
        EXPECT_EQ(box->idleError().Line, 2);
        // Hovering the mark names the error; hovering elsewhere shows nothing.
        const auto tipAt = [&](int line, int column) {
            QTextCursor at(box->document()->findBlockByNumber(line - 1));
            at.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column - 1);
            const QPoint pos = box->cursorRect(at).center();
            QHelpEvent help(QEvent::ToolTip, pos, box->viewport()->mapToGlobal(pos));
            QApplication::sendEvent(box->viewport(), &help);
            return QToolTip::text().toStdString();
        };
        EXPECT_EQ(tipAt(2, box->idleError().Column + 1), "Error 1033: " + box->idleError().Description);
        tipAt(1, 1);
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
        box->textCursor().insertText("\"");
        EXPECT_EQ(box->idleError().Number, 0);
        box->setJScript(true); // the same text read as JScript has no error either
        EXPECT_FALSE(QTest::qWaitFor([&] { return box->idleError().Number != 0; }, 1000));
    });
}

TEST_F(EditorTest, AMillionNestedElementsAreReadShownAndGivenBack)
{
    // Every walk over the data holds no stack per level.
    constexpr int kLevels = 1'000'000;
    const std::string nested = repeat("<n>", kLevels) + "deep" + repeat("</n>", kLevels);
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
    const auto failingClipboard = [&](const char* button) {
        return [this, button] { ui->clipboardFails = true, control<QToolButton>(button)->click(); };
    };
    // What is done; how the last message box starts and how it ends; what the log has ("": the
    // end of the box without "\rSource: "). A box that starts "Error: " is a report, and goes to
    // the reports log; the others go to the error log.
    const std::tuple<std::function<void()>, const char*, const char*, const char*> rows[] = {
        {failingClipboard("cmdCopy"), "Error: ", "\rSource: Clipboard frmMain.Copy()  frmMain.cmdCopy_Click() ", ""},
        {failingClipboard("cmdCut"), "Error: ", "\rSource: Clipboard frmMain.Copy()  frmMain.cmdCut_Click() ", ""},
        {failingClipboard("cmdPaste"), "Error: ", "\rSource: Clipboard frmMain.Paste()  frmMain.cmdPaste_Click() ", ""},
        {[&] {
             hostState().gobjRobot->SetFreeDefinition(XmlNode());
             control<QComboBox>("cmbScriptLanguage")->setCurrentIndex(1);
         },
         "Error: ", "\rSource:  cRobot.SetLanguage()  frmMain.cmbScriptLanguage_Click() ", ""},
        {[&] { noColouring.emplace(kClsidColorizer), control<QToolButton>("cmdColorizeCode")->click(); },
         "Error: 429\rDescription: ", " frmMain.ColorizeCode()  frmMain.cmdColorizeCode_Click() ", ""},
        // The question, the wizard's absence, then the error of the colouring that follows it.
        {[&] { noColouring.emplace(kClsidColorizer), control<QToolButton>("cmdWizard")->click(); },
         "Error.\r\nDesc: ", " frmMain.ColorizeCode()  frmMain.cmdWizard_Click() ", " frmMain.cmdWizard_Click() "},
        {[&] {
             globals().gobjSharedData->PropertiesNode().removeChildren();
             control<QPushButton>("cmdOk")->click();
         },
         "Error.\r\nDesc: ", " frmMain.Validate()  frmMain.cmdOk_Click() ", ""},
        // The form engine logs the host's refusal on the way, and the window once more at its end.
        {[&] {
             notifier.failOn = "Button0";
             control<QPushButton>("cmdCancel")->click();
             notifier.failOn.clear();
         },
         "Error.\r\nDesc: ", "Host cFormEngine.ofrmMain_ButtonClick()  frmMain.cmdCancel_Click() ",
         "Host  ofrmMain_ButtonClick "},
    };
    for (const auto& [act, text, source, logged] : rows) {
        SCOPED_TRACE(source);
        open(activityXml("VBScript", "alpha"));
        ui->shown.clear();
        notifier.events.clear();
        showAndCancel([&](QDialog& dialog) {
            act();
            noColouring.reset();
            ui->clipboardFails = false;
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_TRUE(notifier.events.empty());
        });
        EXPECT_EQ(notifier.events, std::vector<std::string>{"Button0"});
        ASSERT_FALSE(ui->shown.empty());
        const ShownMessage& box = ui->shown.back();
        EXPECT_EQ(box.icon, MessageIcon::Critical);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(box.title, " Script Editor");
        EXPECT_TRUE(box.text.starts_with(text)) << box.text;
        EXPECT_TRUE(box.text.ends_with(source)) << box.text;
        const bool report = std::string_view(text).starts_with("Error: ");
        const std::string log = readFile(folder / (report ? "zeltest.Reports.Log" : "zeltest.Log"));
        const std::string_view end = std::string_view(source).starts_with("\rSource: ") ? source + 9 : source;
        EXPECT_NE(log.find(*logged != '\0' ? logged : end), std::string::npos) << log;
    }
}

// ---------------------------------------------------------------------------------------------
// A new activity: the wizard instead of the editor

TEST_F(EditorTest, NewActivityShowsNoEditor_WithoutAWizardTellsNobody_WithOneTakesItsCodeAsIfOkWerePressed)
{
    open(fixture("host/activity-no-script.xml"));
    engine->ShowForm(); // no editor: no driver waits for it
    EXPECT_TRUE(notifier.events.empty());
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_NE(ui->shown[0].text.find("not available"), std::string::npos);

    int shown = 0;
    FakeWizard wizard({"result = Add(1, 2)", kDefinition}, shown);
    ui->shown.clear();
    engine->ShowForm();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(notifier.events, std::vector<std::string>{"Button1"});
    const std::string data = engine->GetData();
    EXPECT_NE(data.find("<EvalCode><![CDATA[result = Add(1, 2)]]></EvalCode>"), std::string::npos) << data;
    EXPECT_NE(data.find(kDefinition), std::string::npos) << data;
    EXPECT_TRUE(ui->shown.empty());
}

// ---------------------------------------------------------------------------------------------
// The window: its language, its caption bar, its picture

TEST_F(EditorTest, LanguageSwitchingSetsEveryTextAndAMissingFileChangesNone_TheCaptionDragsWithTheLeftButtonOnly)
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
        engine->ChangeInterfaceLanguage("xx"); // no such file: the texts stay
        EXPECT_EQ(globals().gstrLanguageId, "xx");
        std::ofstream(folder / ".lng") << "[frmMain]\nCaption=Nameless\n";
        engine->ChangeInterfaceLanguage(""); // a file that does not open for want of an id changes none either
        EXPECT_EQ(dialog.windowTitle(), " Editor de scripts");

        // No system title bar: the caption bar, a gradient darker at its left end, moves the window.
        EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
        const QImage picture = dialog.grab().toImage();
        ASSERT_FALSE(picture.isNull());
        EXPECT_LT(picture.pixelColor(3, 13).lightness(), picture.pixelColor(picture.width() - 4, 13).lightness());
        auto* caption = control<QWidget>("picCaption");
        const QPoint start = caption->mapToGlobal(QPoint(40, 10)), end = start + QPoint(50, 30);
        auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(caption->mapFromGlobal(at)), QPointF(at), button, held, Qt::NoModifier);
            QCoreApplication::sendEvent(caption, &event);
        };
        const QPoint before = dialog.pos();
        for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
            send(QEvent::MouseButtonPress, start, button, button);
            send(QEvent::MouseMove, end, Qt::NoButton, button);
            send(QEvent::MouseButtonRelease, end, button, Qt::NoButton);
            EXPECT_EQ(dialog.pos(), before + (button == Qt::LeftButton ? QPoint(50, 30) : QPoint())) << button;
        }
    });
    EXPECT_TRUE(ui->shown.empty());
    // Moving no window raises with the move tag.
    expectRaises([] { ui::MoveForm(nullptr, {}, {}); }, ErrorNumber::ObjectNotSet, " General.MoveForm() ");
}

// ---------------------------------------------------------------------------------------------
// Skin

TEST_F(EditorTest, SkinColoursExactlyTheListedControls_AskingInOrder_MinusOneLeavesTheDesign)
{
    const std::vector<const char*> toolBar = {"panelToolBar",    "cmdCut",         "cmdCopy",  "cmdPaste",
                                              "cmdColorizeCode", "cmdCheckSyntax", "cmdWizard"};
    // The skin's operations in the order they are asked: the grey given (the same in either byte
    // order, which the partial skin below checks), the palette role that shows it and the controls
    // it reaches.
    const std::tuple<const char*, QRgb, QPalette::ColorRole, std::vector<const char*>> rows[] = {
        {"GetFormBackColor", 0x101010, QPalette::Window, {"frmMain"}},
        {"GetTabBackColor", 0x202020, QPalette::Window, {"panelScript", "lblDescription", "lblScript"}},
        {"GetColorFont", 0x303030, QPalette::WindowText, {"lblDescription", "lblScript", "cmdCancel", "cmdOk"}},
        {"GetButtonBackColor", 0x404040, QPalette::Button, {"cmdCancel", "cmdOk"}},
        {"GetToolbarBackColor", 0x505050, QPalette::Window, toolBar},
        {"GetToolbarColorFont", 0x606060, QPalette::ButtonText, toolBar},
    };
    RecordingSkin skin({});
    std::vector<std::string> operations;
    for (const auto& [operation, grey, role, names] : rows)
        skin.colors.emplace(operations.emplace_back(operation), static_cast<int32_t>(grey));
    open(activityXml("VBScript", "x = 1"), &skin);
    EXPECT_EQ(skin.asked, operations);
    const auto widget = [&](const char* name) { return *name == 'f' ? window() : control<QWidget>(name); };
    for (const auto& [operation, grey, role, names] : rows)
        for (const char* name : names)
            EXPECT_EQ(widget(name)->palette().color(role), QColor(grey)) << operation << " " << name;
    // The boxes and the list keep their designed colours.
    frmMain design({});
    const auto designed = [&](const char* name) { return test::control<QWidget>(*design.window(), name)->palette(); };
    for (const char* name :
         {"rtfScript", "rtfDescription", "txtExecutionEngine", "cmbScriptLanguage", "lblExecutionEngine"})
        EXPECT_EQ(control<QWidget>(name)->palette(), designed(name)) << name;

    // A row with -1 leaves just those controls; the form's colour does not reach the tool bar either.
    RecordingSkin partial(
        {{"GetFormBackColor", 0x405060}, {"GetToolbarBackColor", -1}, {"GetToolbarColorFont", 0x303030}});
    open(activityXml("VBScript", "x = 1"), &partial);
    for (const char* name : toolBar) {
        const QPalette& palette = control<QWidget>(name)->palette();
        EXPECT_EQ(palette.color(QPalette::Window), designed(name).color(QPalette::Window)) << name;
        EXPECT_EQ(palette.color(QPalette::Button), designed(name).color(QPalette::Button)) << name;
        EXPECT_TRUE(control<QWidget>(name)->autoFillBackground()) << name;
        EXPECT_EQ(palette.color(QPalette::ButtonText), QColor(0x30, 0x30, 0x30)) << name;
    }
    EXPECT_EQ(window()->palette().color(QPalette::Window), QColor(0x60, 0x50, 0x40));
}

} // namespace
} // namespace zel::test
