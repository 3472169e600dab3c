#pragma once

// What the editor-window tests share: a skin that records what it was asked, and a fixture with a
// form engine on a temporary folder whose message boxes are answered and recorded.

#include "common/General.h"
#include "host/cFormEngine.h"
#include "host/forms/frmMain.h"
#include "platform/ui/Toolkit.h"
#include "support/TestSupport.h"
#include "support/WindowDriving.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zel::test {

// A skin with a colour per operation (operations not listed are unknown to it); records the
// operations asked, in order.
class RecordingSkin final : public ISkin
{
public:
    explicit RecordingSkin(std::map<std::string, int32_t, std::less<>> colors) : colors(std::move(colors)) {}
    bool Invoke(std::string_view operation, int32_t& result) override;

    std::map<std::string, int32_t, std::less<>> colors;
    std::vector<std::string> asked;
};

// An activity data text; the optional parts are left out when empty.
std::string activityXml(const std::string& language, const std::string& code,
                        const std::string& executionEngine = "<ExecutionEngine><![CDATA[Main]]></ExecutionEngine>",
                        const std::string& userLanguage = "en", const std::string& description = "An activity");

class EditorFixture : public ::testing::Test
{
protected:
    EditorFixture();
    void TearDown() override;

    // A new form engine with a loaded editor, the path data and the activity data.
    void open(const std::string& data, ISkin* skin = nullptr);
    // ShowForm, with driver acting on the shown window; the window must be shown. (A ShowForm
    // called directly must not show it: no driver waits for it.)
    void show(std::function<void(QDialog&)> driver);
    // show, with Cancel clicked once driver is done: the usual way out of a test.
    void showAndCancel(std::function<void(QDialog&)> driver);

    frmMain& form() { return dynamic_cast<frmMain&>(*engine->form()); }
    QDialog* window() { return form().window(); }
    template <class T> T* control(const char* name) { return test::control<T>(*window(), name); }

private:
    ModuleInTempDir m_module;

protected:
    const std::filesystem::path& folder = m_module.folder();
    std::shared_ptr<RecordingUi> ui = std::make_shared<RecordingUi>();

private:
    Installed<std::shared_ptr<UiServices>> m_ui{toolkitSetter<&Toolkit::ui>(), ui};
    ModalDrivers m_modal;
    Installed<EditorFormFactory> m_factory{toolkitSetter<&Toolkit::editorForm>(), qtEditorFormFactory()};
    Installed<std::function<std::string()>> m_caption{toolkitSetter<&Toolkit::editorCaption>(),
                                                      &frmMain::currentCaption};

protected:
    RecordingNotifier notifier;
    std::unique_ptr<cFormEngine> engine;
};

// Every top-level widget still alive after pending deletions ran.
std::vector<QWidget*> survivingWindows();

} // namespace zel::test
