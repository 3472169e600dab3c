#include "host/HeadlessEditorForm.h"

#include "zel/ZelScriptEditor.h"

namespace zel {

void HeadlessEditorForm::ShowModal()
{
    if (m_events.buttonClick)
        m_events.buttonClick(kButtonCancel);
}

void HeadlessEditorForm::SaveCode()
{
    if (Validate() && m_events.buttonClick)
        m_events.buttonClick(kButtonOk);
}

EditorFormFactory HeadlessEditorForm::factory()
{
    return [](EditorFormEvents events) { return std::make_unique<HeadlessEditorForm>(std::move(events)); };
}

} // namespace zel
