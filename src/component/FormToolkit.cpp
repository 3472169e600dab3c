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

// The QApplication the editor window needs: the host's, or one made here for a host that has
// none. Raises when the host runs a Qt application without widgets or when no display is there.
void requireWidgetsApplication()
{
    if (hostRunsWidgets())
        return;
    if (QCoreApplication::instance() != nullptr)
        raise(ErrorNumber::CannotCreateComponent,
              "The editor window needs a QApplication; the host runs a Qt application without widgets");
    if (!displayAvailable())
        raise(ErrorNumber::CannotCreateComponent, "The editor window cannot be shown: no display is available "
                                                  "(neither DISPLAY, WAYLAND_DISPLAY nor QT_QPA_PLATFORM is set)");
    static int argc = 1;
    static char name[] = "zelscript";
    static char* argv[] = {name, nullptr};
    // It lives as long as the process, and keeps the library loaded: its code runs the windows.
    new QApplication(argc, argv);
    static com::ObjectCounter keepLoaded;
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
    // The older wizard is a window of its own: it needs the host's widgets application.
    Engine::setShowHandler([] {
        if (!hostRunsWidgets())
            raise(ErrorNumber::CannotCreateComponent,
                  "Cannot create the wizard window: the host runs no window system");
        useQtServices();
        frmWizard::Show();
    });
    setEditorFormFactory([](EditorFormEvents events) -> std::unique_ptr<IEditorForm> {
        requireWidgetsApplication();
        useQtServices();
        return qtEditorFormFactory()(std::move(events));
    });
}

} // namespace zel
