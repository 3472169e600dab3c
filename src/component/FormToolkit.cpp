#include "component/FormToolkit.h"

#include "common/ErrorRecord.h"
#include "common/General.h"
#include "host/Engine.h"
#include "host/HeadlessEditorForm.h"
#include "host/forms/NewScriptWizard.h"
#include "host/forms/frmMain.h"
#include "platform/ui/qt/QtUiServices.h"
#include "wizard/forms/frmWizard.h"
#include "wizard/forms/frmWizardNuevo.h"

#include <QApplication>

#include <mutex>

namespace zel {
namespace {

bool hostRunsWidgets()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
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
        if (!hostRunsWidgets())
            return HeadlessEditorForm::factory()(std::move(events));
        useQtServices();
        return qtEditorFormFactory()(std::move(events));
    });
}

} // namespace zel
