#include "component/FormToolkit.h"

#include "common/ErrorRecord.h"
#include "common/General.h"
#include "host/Engine.h"
#include "host/HeadlessEditorForm.h"
#include "host/forms/NewScriptWizard.h"
#include "host/forms/frmMain.h"
#include "platform/com/ClassRegistry.h"
#include "platform/ui/qt/QtUiServices.h"
#include "wizard/forms/frmWizard.h"
#include "wizard/forms/frmWizardNuevo.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

namespace zel {
namespace {

bool hostRunsWidgets()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// True when Qt can open windows here: a platform named by QT_QPA_PLATFORM, a Wayland display, or
// an X display, whose socket must exist when it is a local one (Qt ends the whole process when it
// cannot reach the display it was given).
bool displayAvailable()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    if (set("QT_QPA_PLATFORM") || set("WAYLAND_DISPLAY"))
        return true;
    if (!set("DISPLAY"))
        return false;
    const std::string_view display = std::getenv("DISPLAY");
    if (display.front() != ':')
        return true;
    const std::string number(display.substr(1, display.find('.') - 1));
    return std::filesystem::exists("/tmp/.X11-unix/X" + number);
}

// Makes sure the host runs a QApplication: makes one for a host that has none when a display is
// available. Returns "" when there is one, otherwise why no editor window can be shown.
std::string widgetsApplication()
{
    if (hostRunsWidgets())
        return {};
    if (QCoreApplication::instance() != nullptr)
        return "No window can be shown: the host runs a Qt application without widgets";
    if (!displayAvailable())
        return "No window can be shown: no display is available "
               "(neither DISPLAY, WAYLAND_DISPLAY nor QT_QPA_PLATFORM is set)";
    static int argc = 1;
    static char name[] = "zelscript";
    static char* argv[] = {name, nullptr};
    // It lives as long as the process, and keeps the library loaded: its code runs the windows.
    new QApplication(argc, argv);
    static com::ObjectCounter keepLoaded;
    return {};
}

void useQtServices()
{
    static std::once_flag once;
    std::call_once(once, [] {
        setUiServices(std::make_shared<ui::QtUiServices>());
        General::SetMainCaptionProvider(&frmMain::currentCaption);
        setNewScriptWizard(&frmWizardNuevo::run);
    });
}

} // namespace

void installFormToolkit()
{
    if (editorFormFactory())
        return;
    // The older wizard is a window of its own: it needs a widgets application as well.
    Engine::setShowHandler([] {
        if (const std::string whyNot = widgetsApplication(); !whyNot.empty())
            raise(ErrorNumber::CannotCreateComponent, whyNot);
        useQtServices();
        frmWizard::Show();
    });
    setEditorFormFactory([](EditorFormEvents events) -> std::unique_ptr<IEditorForm> {
        if (std::string whyNot = widgetsApplication(); !whyNot.empty())
            return std::make_unique<HeadlessEditorForm>(std::move(events), std::move(whyNot));
        useQtServices();
        return qtEditorFormFactory()(std::move(events));
    });
}

} // namespace zel
