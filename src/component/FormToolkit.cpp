#include "component/FormToolkit.h"

#include "host/HeadlessEditorForm.h"
#include "host/forms/frmMain.h"
#include "platform/error/ErrorRecord.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/qt/QtUiServices.h"
#include "platform/ui/qt/WidgetsApplication.h"
#include "uddi/forms/frmUDDIExplorer.h"
#include "wizard/forms/frmWizard.h"
#include "wizard/forms/frmWizardNuevo.h"

#include <mutex>
#include <string>

namespace zel {
namespace {

void useQtServices()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Toolkit& seam = toolkit();
        seam.ui = std::make_shared<ui::QtUiServices>();
        seam.editorCaption = &frmMain::currentCaption;
    });
}

} // namespace

void installFormToolkit()
{
    Toolkit& seam = toolkit();
    if (seam.editorForm)
        return;
    seam.editorForm = [](EditorFormEvents events) -> std::unique_ptr<IEditorForm> {
        if (std::string whyNot = ui::widgetsApplication(); !whyNot.empty())
            return std::make_unique<HeadlessEditorForm>(std::move(events), std::move(whyNot));
        useQtServices();
        return qtEditorFormFactory()(std::move(events));
    };
    // The older wizard is a window of its own: it needs a widgets application as well.
    seam.olderWizard = [] {
        if (const std::string whyNot = ui::widgetsApplication(); !whyNot.empty())
            raise(ErrorNumber::CannotCreateComponent, whyNot);
        useQtServices();
        frmWizard::Show();
    };
    seam.webServiceWizard = &frmWizardNuevo::run;
    seam.uddiExplorer = &showUddiExplorer;
}

} // namespace zel
