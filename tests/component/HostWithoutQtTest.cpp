// A host that runs no Qt application of its own, loading the library as any host does.

#include "zel/ZelScriptEditor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

class Notifier final : public zel::INotifier
{
public:
    void FormActivate() override {}
    void FormModified() override {}
    void ButtonClick(int32_t ZELButton) override { buttons.push_back(ZELButton); }
    std::vector<int32_t> buttons;
};

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(HostWithoutQt, WithoutADisplayShowingIsAClearLoggedError_WithOneTheLibraryMakesTheApplication)
{
    const std::filesystem::path bin = ZEL_BIN_DIR;
    const auto folder = std::filesystem::temp_directory_path() / ("zel-noqt-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    setenv("ZEL_CLASS_REGISTRY", (folder / "classes.reg").c_str(), 1);
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        unsetenv(name);
    void* library = dlopen((bin / "libzelscript.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto getClassObject = reinterpret_cast<zel::DllGetClassObjectFn>(dlsym(library, "DllGetClassObject"));
    zel::IClassFactory* raw = nullptr;
    ASSERT_EQ(getClassObject(zel::kClsidFormEngine, &raw), zel::Result::Ok);
    std::unique_ptr<zel::IClassFactory> factory(raw);
    std::unique_ptr<zel::IComponent> object(factory->CreateInstance());
    auto* engine = dynamic_cast<zel::IFormEngine*>(object.get());
    ASSERT_NE(engine, nullptr);
    Notifier notifier;

    // Without a display the data still goes through; showing is refused with a logged error.
    const std::string activity = readFile(bin / "data" / "samples" / "VBScriptActivity.xml");
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
        EXPECT_NE(readFile(bin / "libzelscript.Log").find(error.Description), std::string::npos);
    }
    EXPECT_TRUE(notifier.buttons.empty());
    EXPECT_EQ(QCoreApplication::instance(), nullptr);

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ASSERT_TRUE(engine->LoadForm(&notifier, "<Languages/>", nullptr));
    ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
    engine->SetData(activity);
    bool shown = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->objectName() == QLatin1String("frmMain")) {
                shown = true;
                widget->findChild<QAbstractButton*>(QStringLiteral("cmdCancel"))->click();
            }
        }
    });
    closer.start(20);
    engine->ShowForm();
    EXPECT_TRUE(shown);
    EXPECT_EQ(notifier.buttons, std::vector<int32_t>{zel::kButtonCancel});
    object.reset();
    std::filesystem::remove_all(folder);
}

} // namespace
