// A host that runs no Qt application of its own, loading the library as any host does.

#include "support/TestSupport.h"
#include "zel/ZelScriptEditor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

// The whole road a host takes, through the library's exported entry points only: dlopen,
// DllGetClassObject, the public header, and the editor window driven by its object names.
TEST(HostWithoutQt, WithoutADisplayShowingIsAClearLoggedError_WithOneTheLibraryMakesTheApplicationAndShows)
{
    const std::filesystem::path bin = ZEL_BIN_DIR;
    const zel::test::TempDir folder;
    const zel::test::EnvVar registry("ZEL_CLASS_REGISTRY", (folder / "classes.reg").string());
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        unsetenv(name);
    void* library = dlopen((bin / "libzelscript.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto getClassObject = reinterpret_cast<zel::DllGetClassObjectFn>(dlsym(library, "DllGetClassObject"));
    auto canUnloadNow = reinterpret_cast<zel::DllCanUnloadNowFn>(dlsym(library, "DllCanUnloadNow"));
    ASSERT_TRUE(getClassObject && canUnloadNow);
    zel::IClassFactory* raw = nullptr;
    ASSERT_EQ(getClassObject(zel::kClsidFormEngine, &raw), zel::Result::Ok);
    std::unique_ptr<zel::IComponent> object(std::unique_ptr<zel::IClassFactory>(raw)->CreateInstance());
    auto* engine = dynamic_cast<zel::IFormEngine*>(object.get());
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(canUnloadNow(), zel::Result::False);
    zel::test::RecordingNotifier notifier;
    std::string dataAtOk;
    notifier.onButton = [&] { dataAtOk = engine->GetData(); };

    // Without a display the data still goes through; showing is refused with a logged error.
    const std::string activity = zel::test::readFile(bin / "data" / "samples" / "VBScriptActivity.xml");
    ASSERT_TRUE(engine->LoadForm(&notifier, "<Languages/>", nullptr));
    engine->SetPathData((bin / "data").string());
    engine->SetData(activity);
    EXPECT_NE(engine->GetData().find("Function CheckCredit()"), std::string::npos);
    try {
        engine->ShowForm();
        ADD_FAILURE() << "ShowForm without a display should have raised";
    } catch (const zel::ErrorRecord& error) {
        EXPECT_EQ(error.Number, 429);
        EXPECT_NE(error.Description.find("no display"), std::string::npos) << error.Description;
        EXPECT_NE(zel::test::readFile(bin / "libzelscript.Log").find(error.Description), std::string::npos);
    }
    EXPECT_TRUE(notifier.events.empty());
    EXPECT_EQ(QCoreApplication::instance(), nullptr);

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ASSERT_TRUE(engine->LoadForm(&notifier, "<Languages/>", nullptr));
    ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
    // Replacing a form ignores every failing step, languages that do not parse included.
    EXPECT_TRUE(engine->LoadForm(&notifier, "<Languages>", nullptr));
    engine->SetData(activity);
    QString shownText, shownTitle;
    // Driven from the editor's own loop once it shows: the syntax check's message box is read and
    // closed from the loop the box runs, then the script is edited and Ok clicked. A window that is
    // not there fails the test and closes whatever is open, so the loops end instead of hanging.
    QTimer::singleShot(0, [&] {
        QWidget* editor = QApplication::activeModalWidget();
        if (!editor || editor->objectName() != QLatin1String("frmMain")) {
            ADD_FAILURE() << "the editor is not the modal window";
            return QApplication::closeAllWindows();
        }
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                ADD_FAILURE() << "no message box";
                return QApplication::closeAllWindows();
            }
            shownText = box->text();
            shownTitle = box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        });
        editor->findChild<QAbstractButton*>(QStringLiteral("cmdCheckSyntax"))->click();
        editor->findChild<QTextEdit*>(QStringLiteral("rtfScript"))->setPlainText("Dim road");
        editor->findChild<QAbstractButton*>(QStringLiteral("cmdOk"))->click();
    });
    engine->ShowForm();
    EXPECT_EQ(shownText, "Syntax Code Ok !!!");
    EXPECT_EQ(shownTitle, "Ombrel External Process");
    EXPECT_EQ(notifier.events, std::vector<std::string>{"Button1"});
    EXPECT_NE(dataAtOk.find("<![CDATA[Dim road]]>"), std::string::npos) << dataAtOk;
    EXPECT_EQ(engine->GetData(), dataAtOk);
    EXPECT_EQ(engine->GetCaption(), " Script Editor");
    // The application the library made keeps the library loaded: its code runs the windows.
    object.reset();
    EXPECT_EQ(canUnloadNow(), zel::Result::False);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* widget : QApplication::topLevelWidgets())
        ADD_FAILURE() << "a window survived: " << widget->objectName().toStdString();
}

} // namespace
