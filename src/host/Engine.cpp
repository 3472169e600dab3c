#include "host/Engine.h"

#include "common/ErrorRecord.h"
#include "common/Globals.h"

namespace zel {
namespace {

std::function<void()>& showHandler()
{
    static std::function<void()> handler;
    return handler;
}

} // namespace

void Engine::setShowHandler(std::function<void()> handler)
{
    showHandler() = std::move(handler);
}

void Engine::Show()
{
    try {
        if (!showHandler())
            raise(ErrorNumber::CannotCreateComponent, "Cannot create the wizard window: no window toolkit is loaded");
        showHandler()();
    } catch (...) {
        rethrowWithTag(" Engine.Show() ");
    }
}

void Engine::LngSet(std::string_view pstrLanguage, std::string_view pstrLngPath)
{
    try {
        globals().gstrLanguageId = std::string(pstrLanguage);
        globals().gstrPathData = std::string(pstrLngPath);
    } catch (...) {
        rethrowWithTag(" Engine.LngSet() ");
    }
}

} // namespace zel
