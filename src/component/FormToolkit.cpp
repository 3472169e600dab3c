#include "component/FormToolkit.h"

#include "common/General.h"
#include "host/HeadlessEditorForm.h"
#include "host/forms/NewScriptWizard.h"
#include "host/forms/frmMain.h"
#include "platform/ui/qt/QtUiServices.h"
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
    setEditorFormFactory([](EditorFormEvents events) -> std::unique_ptr<IEditorForm> {
        if (!hostRunsWidgets())
            return HeadlessEditorForm::factory()(std::move(events));
        useQtServices();
        return qtEditorFormFactory()(std::move(events));
    });
}

} // namespace zel
