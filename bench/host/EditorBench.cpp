// The editor window's speed: from LoadForm to the first painted editor, and colouring a long
// script, typing into it and checking it while idle. Run offscreen: QT_QPA_PLATFORM=offscreen bench/bench_host_forms

#include "common/Globals.h"
#include "host/cFormEngine.h"
#include "host/forms/IdleCheck.h"
#include "host/forms/frmMain.h"
#include "hostparts/colorizer/Colorizer.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "platform/com/ClassRegistry.h"
#include "platform/module/Module.h"
#include "platform/ui/Toolkit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zel;

class SilentUi final : public UiServices
{
public:
    MessageResult messageBox(const std::string&, const std::string&, MessageIcon, MessageButtons) override
    {
        return MessageResult::Ok;
    }
    std::string clipboardText() override { return {}; }
    void setClipboardText(const std::string&) override {}
};

// Shows the editor, waits until it has been painted once, then presses Cancel.
class PaintOnceModal final : public QObject
{
public:
    void showModal(QDialog& dialog)
    {
        m_painted = false;
        dialog.installEventFilter(this);
        dialog.show();
        while (!m_painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        dialog.removeEventFilter(this);
        dialog.findChild<QAbstractButton*>(QStringLiteral("cmdCancel"))->click();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted = true;
        return false;
    }

private:
    bool m_painted = false;
};

class Notifier final : public INotifier
{
public:
    void FormActivate() override {}
    void FormModified() override {}
    void ButtonClick(int32_t) override {}
};

// A script of the given number of lines, made of a realistic function repeated: VBScript, or
// JScript with a block comment over two lines.
std::string script(int lines, bool jscript = false)
{
    static const std::vector<std::string_view> vbscript = {
        "' Approves the order when the amount stays within the credit limit.",
        "Function CheckCredit()",
        "    Dim amount, limit",
        "    amount = CDbl(DataRiver(\"OrderAmount\"))",
        "    limit = CDbl(DataRiver(\"CreditLimit\"))",
        "    If amount <= 0 Then",
        "        CheckCredit = \"Rejected: empty order\"",
        "    ElseIf amount <= limit Then",
        "        CheckCredit = \"Approved\"",
        "    Else",
        "        CheckCredit = \"Rejected: \" & FormatNumber(amount - limit, 2) & \" over the limit\"",
        "    End If",
        "End Function",
    };
    static const std::vector<std::string_view> js = {
        "/* Approves the order when the amount",
        "   stays within the credit limit. */",
        "function checkCredit() {",
        "    var amount = parseFloat(DataRiver(\"OrderAmount\"));",
        "    var limit = parseFloat(DataRiver('CreditLimit')); // from the customer",
        "    if (amount <= 0) {",
        "        return \"Rejected: empty order\";",
        "    }",
        "    return amount <= limit ? \"Approved\" : \"Rejected: \" + (amount - limit).toFixed(2);",
        "}",
    };
    const std::vector<std::string_view>& block = jscript ? js : vbscript;
    std::string text;
    for (int i = 0; i < lines; ++i)
        text.append(block[static_cast<std::size_t>(i) % block.size()]).append("\n");
    return text;
}

std::string activity(int lines, bool jscript = false)
{
    return "<Activity><UserLanguage>en</UserLanguage><Description>Bench</Description><Properties>"
           "<ExecutionEngine>Main</ExecutionEngine></Properties><ScriptData><RobotScript><Script><Language>" +
           std::string(jscript ? "JScript" : "VBScript") + "</Language><EvalCode><![CDATA[" + script(lines, jscript) +
           "]]></EvalCode></Script></RobotScript></ScriptData></Activity>";
}

struct Setup
{
    Setup()
    {
        static int argc = 1;
        static char name[] = "bench_host_forms";
        static char* argv[] = {name, nullptr};
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app = std::make_unique<QApplication>(argc, argv);
        folder = std::filesystem::temp_directory_path() / "zel-bench-forms";
        std::filesystem::create_directories(folder);
        setenv("ZEL_CLASS_REGISTRY", (folder / "classes.reg").c_str(), 1);
        Module::overrideLocation(folder, "zelbench");
        pathData = std::filesystem::path(ZEL_SOURCE_DIR) / "data" / "lang";
        Toolkit& seam = toolkit();
        seam.ui = std::make_shared<SilentUi>();
        seam.modalRunner = [modal = std::make_shared<PaintOnceModal>()](QDialog& dialog) { modal->showModal(dialog); };
        seam.editorForm = qtEditorFormFactory();
    }
    std::unique_ptr<QApplication> app;
    std::filesystem::path folder;
    std::filesystem::path pathData;
};

Setup& setup()
{
    static Setup once;
    return once;
}

// Opens the editor on an activity as the host does: the language folder, the data, the showing.
void open(cFormEngine& engine, INotifier& notifier, const std::string& data)
{
    engine.LoadForm(&notifier, XmlNode::newElement("Languages"), nullptr);
    engine.SetPathData(setup().pathData.string());
    engine.SetData(data);
    engine.ShowForm();
}

// The window of an opened editor, shown and laid out.
frmMain& shown(cFormEngine& engine)
{
    auto* form = dynamic_cast<frmMain*>(engine.form());
    form->window()->show();
    QCoreApplication::processEvents();
    return *form;
}

void BM_LoadFormToFirstPaint(benchmark::State& state)
{
    setup();
    const std::string data = activity(static_cast<int>(state.range(0)), state.range(1) != 0);
    state.SetLabel(state.range(1) != 0 ? "JScript" : "VBScript");
    Notifier notifier;
    for (auto _ : state) {
        cFormEngine engine;
        open(engine, notifier, data);
        state.PauseTiming();
        // The window goes with the engine; its deletion is not part of opening the editor.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadFormToFirstPaint)
    ->Args({5000, 0})
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

void BM_ColorizeCode(benchmark::State& state)
{
    setup();
    Notifier notifier;
    cFormEngine engine;
    open(engine, notifier, activity(static_cast<int>(state.range(0))));
    // Coloured while shown, and until the box has laid out and painted the result.
    frmMain* form = &shown(engine);
    for (auto _ : state) {
        form->ColorizeCode();
        form->window()->repaint();
        QCoreApplication::processEvents();
    }
    form->window()->hide();
}
BENCHMARK(BM_ColorizeCode)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(10);

// One typed character in the middle of a long script: the live re-colouring of what it changed,
// and the box painted again.
void BM_KeystrokeLiveColouring(benchmark::State& state)
{
    setup();
    Notifier notifier;
    cFormEngine engine;
    open(engine, notifier, activity(static_cast<int>(state.range(0))));
    frmMain* form = &shown(engine);
    auto* box = form->window()->findChild<QTextEdit*>(QStringLiteral("rtfScript"));
    QTextCursor caret(box->document()->findBlockByNumber(box->document()->blockCount() / 2));
    box->setTextCursor(caret);
    box->ensureCursorVisible();
    QCoreApplication::processEvents();
    int typed = 0;
    for (auto _ : state) {
        // Letters and Backspace in turn, so the script keeps its length.
        const bool erase = (typed++ % 2) == 1;
        QKeyEvent key(QEvent::KeyPress, erase ? Qt::Key_Backspace : Qt::Key_X, Qt::NoModifier,
                      erase ? QString() : QStringLiteral("x"));
        QApplication::sendEvent(box, &key);
        box->viewport()->repaint();
    }
    form->window()->hide();
}
BENCHMARK(BM_KeystrokeLiveColouring)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(200);

// The idle check of a long script that compiles (each function under a name of its own), as the
// worker thread runs it: a new engine, the placeholder and the whole script parsed.
void BM_IdleCheck(benchmark::State& state)
{
    std::string text = script(static_cast<int>(state.range(0)));
    text.resize(text.rfind("End Function\n") + std::string_view("End Function\n").size()); // no half function
    int copy = 0;
    for (std::size_t at = text.find("CheckCredit"); at != std::string::npos; at = text.find("CheckCredit", at)) {
        at += std::string_view("CheckCredit").size();
        if (text.compare(at - 20, 9, "Function ") == 0)
            ++copy;
        text.insert(at, std::to_string(copy));
    }
    if (checkInBackground(1, "VBScript", text).Number != 0) {
        state.SkipWithError("the script does not compile");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(checkInBackground(1, "VBScript", text));
}
BENCHMARK(BM_IdleCheck)->Arg(10000)->Unit(benchmark::kMillisecond);

// The colour button with a colouring component whose keywords are red: every line with a keyword
// shows other colours than the live ones and is laid out again. Last, as it keeps the component.
class RedKeywords final : public IColorizer
{
public:
    std::string Colorize(std::string_view plainText) override
    {
        std::string rtf = hostparts::Colorizer().Colorize(plainText);
        return rtf.replace(rtf.find("\\red0\\green51\\blue179"), 21, "\\red255\\green0\\blue0");
    }
};

void BM_ColorizeCodeInOtherColours(benchmark::State& state)
{
    setup();
    com::ClassRegistry& registry = com::ClassRegistry::instance();
    Notifier notifier;
    for (auto _ : state) {
        state.PauseTiming();
        // Opened with the default component, so the box shows the live colours.
        registry.unregisterClass(kClsidColorizer);
        registerDefaultComponents();
        cFormEngine engine;
        open(engine, notifier, activity(static_cast<int>(state.range(0))));
        frmMain* form = &shown(engine);
        registry.unregisterClass(kClsidColorizer);
        registry.registerClass(kClsidColorizer, "", [] { return std::make_unique<RedKeywords>(); });
        state.ResumeTiming();
        form->ColorizeCode();
        form->window()->repaint();
        QCoreApplication::processEvents();
        state.PauseTiming();
        form->window()->hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    registry.unregisterClass(kClsidColorizer);
    registerDefaultComponents();
}
BENCHMARK(BM_ColorizeCodeInOtherColours)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
