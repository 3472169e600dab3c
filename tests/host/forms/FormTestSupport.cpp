#include "host/forms/FormTestSupport.h"

#include "common/Globals.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>

namespace zel::test {

bool RecordingSkin::Invoke(std::string_view operation, int32_t& result)
{
    asked.emplace_back(operation);
    const auto found = colors.find(operation);
    if (found == colors.end())
        return false;
    result = found->second;
    return true;
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

EditorFixture::EditorFixture()
{
    windowApplication();
    for (const char* file : {"lang/en.lng", "lang/es.lng", "DefaultScript.xml"})
        std::filesystem::copy_file(std::filesystem::path(ZEL_SOURCE_DIR) / "data" / file,
                                   folder / std::filesystem::path(file).filename());
}

void EditorFixture::TearDown()
{
    engine.reset();
    globals().gobjSkin = nullptr;
    globals().gstrLanguageId.clear();
    const std::vector<QWidget*> left = survivingWindows();
    EXPECT_TRUE(left.empty()) << left.size() << " window(s) survived the test, the first named "
                              << left.front()->objectName().toStdString();
    for (QWidget* widget : left)
        delete widget;
}

void EditorFixture::open(const std::string& data, ISkin* skin)
{
    engine.reset(); // the process-wide objects of one engine at a time
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
    bool shown = false;
    m_modal.push([&](QDialog& dialog) {
        shown = true;
        driver(dialog);
    });
    engine->ShowForm();
    EXPECT_TRUE(shown) << "the editor was not shown";
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
