#include "host/Engine.h"

#include "common/Globals.h"
#include "platform/error/ErrorRecord.h"
#include "platform/ui/Toolkit.h"

namespace zel {

void Engine::Show()
{
    try {
        const std::function<void()>& show = toolkit().olderWizard;
        if (!show)
            raise(ErrorNumber::CannotCreateComponent, "Cannot create the wizard window: no window toolkit is loaded");
        show();
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
