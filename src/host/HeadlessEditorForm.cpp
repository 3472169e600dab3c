#include "host/HeadlessEditorForm.h"

#include "platform/error/ErrorRecord.h"
#include "zel/ZelScriptEditor.h"

namespace zel {

void HeadlessEditorForm::ShowModal()
{
    raise(ErrorNumber::CannotCreateComponent, m_whyNoWindow);
}

std::string HeadlessEditorForm::ShowWizardForNewScript()
{
    raise(ErrorNumber::CannotCreateComponent, m_whyNoWindow);
}

void HeadlessEditorForm::SaveCode()
{
    if (Validate() && m_events.buttonClick)
        m_events.buttonClick(kButtonOk);
}

} // namespace zel
