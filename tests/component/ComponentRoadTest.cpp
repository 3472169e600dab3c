// The whole road a host takes, through the library's exported entry points only: dlopen,
// DllGetClassObject, the public header, and the editor window driven by its object names.

#include "support/TestSupport.h"
#include "zel/ZelScriptEditor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

namespace {

class GuiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "zel_component_tests";
        static char* argv[] = {name, nullptr};
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        if (QApplication::instance() == nullptr)
            new QApplication(argc, argv);
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

std::filesystem::path binFolder()
{
    return ZEL_BIN_DIR;
}

// The library as a host loads it; it stays mapped for the whole test program, as it does in a host.
struct Library
{
    Library()
    {
        handle = dlopen((binFolder() / "libzelscript.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr)
            return;
        getClassObject = reinterpret_cast<zel::DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<zel::DllCanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));
    }
    void* handle = nullptr;
    zel::DllGetClassObjectFn getClassObject = nullptr;
    zel::DllCanUnloadNowFn canUnloadNow = nullptr;
};

Library& library()
{
    static Library loaded;
    return loaded;
}

class Notifier final : public zel::INotifier
{
public:
    void FormActivate() override {}
    void FormModified() override {}
    void ButtonClick(int32_t ZELButton) override
    {
        buttons.push_back(ZELButton);
        if (ZELButton == zel::kButtonOk && engine != nullptr)
            dataAtOk = engine->GetData();
    }
    std::vector<int32_t> buttons;
    zel::IFormEngine* engine = nullptr;
    std::string dataAtOk;
};

QWidget* visibleEditor()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->objectName() == QLatin1String("frmMain"))
            return widget;
    return nullptr;
}

// Runs steps one after the other from the event loop, each when it says it is done; a step that
// never finishes fails the test after a few seconds instead of hanging it.
class Driver
{
public:
    explicit Driver(std::vector<std::function<bool()>> steps) : m_steps(std::move(steps))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.start(20);
    }
    bool finished() const { return m_next == m_steps.size(); }

private:
    void tick()
    {
        if (finished() || m_running)
            return;
        if (++m_ticks > 250) {
            m_timer.stop();
            ADD_FAILURE() << "step " << m_next << " never finished";
            if (QWidget* editor = visibleEditor())
                editor->hide();
            return;
        }
        m_running = true;
        const bool done = m_steps[m_next]();
        m_running = false;
        if (done) {
            ++m_next;
            m_ticks = 0;
        }
        if (finished())
            m_timer.stop();
    }

    std::vector<std::function<bool()>> m_steps;
    std::size_t m_next = 0;
    int m_ticks = 0;
    bool m_running = false;
    QTimer m_timer;
};

bool click(const char* button)
{
    QWidget* editor = visibleEditor();
    if (editor == nullptr)
        return false;
    auto* found = editor->findChild<QAbstractButton*>(QLatin1String(button));
    if (found == nullptr)
        return false;
    // Clicked from a fresh event so that a message box it opens does not block the driver.
    QTimer::singleShot(0, found, &QAbstractButton::click);
    return true;
}

class ComponentRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(library().handle, nullptr) << dlerror();
        ASSERT_NE(library().getClassObject, nullptr);
        activity = zel::test::readFile(binFolder() / "data" / "samples" / "VBScriptActivity.xml");
        ASSERT_FALSE(activity.empty());
    }
    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* widget : QApplication::topLevelWidgets())
            ADD_FAILURE() << "a window survived: " << widget->objectName().toStdString();
    }

    std::unique_ptr<zel::IFormEngine> createEngine()
    {
        zel::IClassFactory* raw = nullptr;
        EXPECT_EQ(library().getClassObject(zel::kClsidFormEngine, &raw), zel::Result::Ok);
        std::unique_ptr<zel::IClassFactory> factory(raw);
        std::unique_ptr<zel::IComponent> object(factory ? factory->CreateInstance() : nullptr);
        auto* engine = dynamic_cast<zel::IFormEngine*>(object.get());
        EXPECT_NE(engine, nullptr);
        if (engine != nullptr)
            object.release();
        return std::unique_ptr<zel::IFormEngine>(engine);
    }

    void openEngine(zel::IFormEngine& engine, Notifier& notifier)
    {
        notifier.engine = &engine;
        ASSERT_TRUE(engine.LoadForm(&notifier, "<Languages/>", nullptr));
        engine.SetPathData((binFolder() / "data").string());
        engine.SetData(activity);
    }

    std::string activity;

private:
    zel::test::TempDir m_folder;
    zel::test::EnvVar m_registry{"ZEL_CLASS_REGISTRY", (m_folder / "classes.reg").string()};
};

TEST_F(ComponentRoad, OkRaisesButtonClickOne_AndGetDataHoldsTheEditedScript)
{
    std::unique_ptr<zel::IFormEngine> engine = createEngine();
    ASSERT_TRUE(engine);
    Notifier notifier;
    openEngine(*engine, notifier);
    EXPECT_EQ(library().canUnloadNow(), zel::Result::False);
    Driver driver({[] {
                       QWidget* editor = visibleEditor();
                       if (editor == nullptr)
                           return false;
                       editor->findChild<QTextEdit*>(QStringLiteral("rtfScript"))->setPlainText("Dim road\nroad = 1");
                       return true;
                   },
                   [] { return click("cmdOk"); }});
    engine->ShowForm();
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{zel::kButtonOk});
    EXPECT_NE(notifier.dataAtOk.find("<![CDATA[Dim road\nroad = 1]]>"), std::string::npos) << notifier.dataAtOk;
    EXPECT_EQ(engine->GetData(), notifier.dataAtOk);
    EXPECT_EQ(engine->GetCaption(), " Script Editor");
    engine.reset();
    EXPECT_EQ(library().canUnloadNow(), zel::Result::Ok);
}

TEST_F(ComponentRoad, SecondLoadFormShowsAFreshEditor_CheckButtonShowsItsBox_ThenCancelKeepsTheData)
{
    std::unique_ptr<zel::IFormEngine> engine = createEngine();
    ASSERT_TRUE(engine);
    Notifier notifier;
    openEngine(*engine, notifier);
    EXPECT_TRUE(engine->LoadForm(&notifier, "<Languages/>", nullptr));
    // Replacing a form ignores every failing step, languages that do not parse included.
    EXPECT_TRUE(engine->LoadForm(&notifier, "<Languages>", nullptr));
    engine->SetData(activity);
    const std::string before = engine->GetData();
    QString shownText, shownTitle;
    Driver driver({[] { return click("cmdCheckSyntax"); },
                   [&] {
                       auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                       if (box == nullptr || !box->isVisible())
                           return false;
                       shownText = box->text();
                       shownTitle = box->windowTitle();
                       box->button(QMessageBox::Ok)->click();
                       return true;
                   },
                   [] { return click("cmdCancel"); }});
    engine->ShowForm();
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(shownText, "Syntax Code Ok !!!");
    EXPECT_EQ(shownTitle, "Ombrel External Process");
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{zel::kButtonCancel});
    EXPECT_EQ(engine->GetData(), before);
}

} // namespace
