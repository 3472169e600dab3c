#include "platform/ui/qt/WidgetsApplication.h"

#include "platform/com/ClassRegistry.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace zel::ui {
namespace {

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

} // namespace

bool hostRunsWidgets()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

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

} // namespace zel::ui
