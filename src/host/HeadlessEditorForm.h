#pragma once

#include "host/IEditorForm.h"

#include <string>

namespace zel {

// The editor form used where no window can be shown (a host without a display): it holds no
// controls, so the robot script document and the activity data stay as SetData installed them
// and GetData gives them back. Showing it, the editor or the wizard, raises 429 with why (the
// form engine logs it and raises it to the host); Validate accepts.
class HeadlessEditorForm final : public IEditorForm
{
public:
    HeadlessEditorForm(EditorFormEvents events, std::string whyNoWindow)
        : m_events(std::move(events)), m_whyNoWindow(std::move(whyNoWindow))
    {
    }

    void Load() override {}
    void Unload() override { m_loaded = false; }
    void Initialize() override {}
    void ActivityDataChanged() override {}
    void ShowModal() override;
    std::string ShowWizardForNewScript() override;
    void UnloadWizard() override {}
    void SetScriptText(std::string_view) override {}
    void ColorizeCode() override {}
    void SaveCode() override;
    bool Validate() override { return true; }
    void ResizeForm() override {}
    std::string Caption() override { return {}; }
    int32_t Handle() override { return 0; }
    void ChangeSettings() override {}
    void UpdateLanguages(const XmlNode&) override {}
    void ChangeInterfaceLanguage(std::string_view) override {}

private:
    EditorFormEvents m_events;
    std::string m_whyNoWindow;
    bool m_loaded = true;
};

} // namespace zel
