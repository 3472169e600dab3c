#pragma once

#include "host/IEditorForm.h"

namespace zel {

// The editor form used where no window can be shown (a host without a display, command-line
// tools): it holds no controls, so the robot script document and the activity data stay as
// SetData installed them. Showing it closes it at once as Cancel does; Validate accepts.
class HeadlessEditorForm final : public IEditorForm
{
public:
    explicit HeadlessEditorForm(EditorFormEvents events) : m_events(std::move(events)) {}

    void Load() override {}
    void Unload() override { m_loaded = false; }
    void Initialize() override {}
    void ActivityDataChanged() override {}
    void ShowModal() override;
    std::string ShowWizardForNewScript() override { return {}; }
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

    static EditorFormFactory factory();

private:
    EditorFormEvents m_events;
    bool m_loaded = true;
};

} // namespace zel
