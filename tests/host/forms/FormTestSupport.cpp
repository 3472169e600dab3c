#include "host/forms/FormTestSupport.h"

#include "common/General.h"
#include "common/Globals.h"
#include "platform/module/Module.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace zel::test {
namespace {

class GuiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_host_forms";
        static char* argv[] = {name, nullptr};
        // Also when started by hand, outside ctest's environment.
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        if (QApplication::instance() == nullptr)
            new QApplication(argc, argv);
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

std::filesystem::path newTempFolder()
{
    std::random_device random;
    const auto folder = std::filesystem::temp_directory_path() / ("zel-forms-" + std::to_string(random()));
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace

MessageResult RecordingUi::messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                      MessageButtons buttons)
{
    shown.push_back({text, title, icon, buttons});
    if (!answers.empty()) {
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageResult::Yes
                                                                                      : MessageResult::Ok;
}

std::string RecordingUi::clipboardText()
{
    if (clipboardFails)
        throw ErrorRecord(521, "Can't open Clipboard", "Clipboard");
    return clipboard;
}

void RecordingUi::setClipboardText(const std::string& text)
{
    if (clipboardFails)
        throw ErrorRecord(521, "Can't open Clipboard", "Clipboard");
    clipboard = text;
}

void DrivenModal::showModal(QDialog& dialog)
{
    ++shows;
    dialog.show();
    QCoreApplication::processEvents();
    if (driver)
        driver(dialog);
    if (dialog.isVisible()) {
        ADD_FAILURE() << "the window was left open by the test";
        dialog.hide();
    }
}

bool RecordingSkin::Invoke(std::string_view operation, int32_t& result)
{
    asked.emplace_back(operation);
    const auto found = colors.find(operation);
    if (found == colors.end())
        return false;
    result = found->second;
    return true;
}

void RecordingNotifier::ButtonClick(int32_t ZELButton)
{
    if (ZELButton == failOnButton)
        throw ErrorRecord(1001, "the host refused the button", "Host.ButtonClick");
    buttons.push_back(ZELButton);
    if (onButton)
        onButton();
}

std::string activityXml(const std::string& language, const std::string& code, const std::string& executionEngine,
                        const std::string& userLanguage, const std::string& description)
{
    return "<Activity><UserLanguage>" + userLanguage +
           "</UserLanguage><ContextText>Tests</ContextText>"
           "<Description><![CDATA[" +
           description + "]]></Description><Properties>" + executionEngine +
           "</Properties><ScriptData><RobotScript><Script><Language><![CDATA[" + language +
           "]]></Language><EvalCode><![CDATA[" + code +
           "]]></EvalCode></Script></RobotScript></ScriptData>"
           "</Activity>";
}

std::string fixture(const std::string& name)
{
    std::ifstream in(std::filesystem::path(ZEL_TEST_DATA_DIR) / "host" / name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing fixture " << name;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void EditorFixture::SetUp()
{
    folder = newTempFolder();
    setenv("ZEL_CLASS_REGISTRY", (folder / "classes.reg").c_str(), 1);
    Module::overrideLocation(folder, "zeltest");
    for (const char* file : {"lang/en.lng", "lang/es.lng", "DefaultScript.xml"})
        std::filesystem::copy_file(std::filesystem::path(ZEL_SOURCE_DIR) / "data" / file,
                                   folder / std::filesystem::path(file).filename());
    ui = std::make_shared<RecordingUi>();
    modal = std::make_shared<DrivenModal>();
    m_previousUi = setUiServices(ui);
    m_previousModal = ui::setModalService(modal);
    setEditorFormFactory(qtEditorFormFactory());
    General::SetMainCaptionProvider(&frmMain::currentCaption);
}

void EditorFixture::TearDown()
{
    engine.reset();
    globals().gobjSkin = nullptr;
    globals().gstrLanguageId.clear();
    setUiServices(m_previousUi);
    ui::setModalService(m_previousModal);
    const std::vector<QWidget*> left = survivingWindows();
    EXPECT_TRUE(left.empty()) << left.size() << " window(s) survived the test, the first named "
                              << left.front()->objectName().toStdString();
    for (QWidget* widget : left)
        delete widget;
    Module::overrideLocation({}, "");
    std::filesystem::remove_all(folder);
}

void EditorFixture::open(const std::string& data, ISkin* skin)
{
    engine = std::make_unique<cFormEngine>();
    ASSERT_TRUE(engine->LoadForm(&notifier, XmlNode::newElement("Languages"), skin));
    engine->SetPathData(folder.string());
    engine->SetData(data);
}

void EditorFixture::showAndCancel(std::function<void(QDialog&)> driver)
{
    show([this, driver = std::move(driver)](QDialog& dialog) {
        driver(dialog);
        control<QPushButton>("cmdCancel")->click();
    });
}

void EditorFixture::show(std::function<void(QDialog&)> driver)
{
    modal->driver = std::move(driver);
    engine->ShowForm();
}

std::string EditorFixture::logText() const
{
    std::ifstream in(folder / "zeltest.Log", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<QWidget*> survivingWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::vector<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows.push_back(widget);
    return windows;
}

} // namespace zel::test
