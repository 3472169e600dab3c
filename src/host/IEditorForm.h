#pragma once

#include "platform/xml/XmlNode.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zel {

// What the editor window raises towards the form engine.
struct EditorFormEvents
{
    std::function<void(int32_t)> buttonClick;
    std::function<void()> formActivate;
    std::function<void()> formModified;
};

// The form engine's view of the editor window. The window toolkit provides the real one; the
// engine only drives it through these operations, so it can be tested without a display.
class IEditorForm
{
public:
    virtual ~IEditorForm() = default;

    // Runs the form's load handler (applies the skin); the form is not shown.
    virtual void Load() = 0;
    // Closes and unloads the window; the form object keeps its contents.
    virtual void Unload() = 0;
    // Fills the form from the activity data; the first call also sets the interface language.
    virtual void Initialize() = 0;
    // The activity data was replaced: the next Initialize fills the form again, as the first did.
    virtual void ActivityDataChanged() = 0;
    // Shows the editor modally; returns when it closes.
    virtual void ShowModal() = 0;
    // Shows the web-service wizard modally for an activity without a script and returns the
    // script it generated ("" when the user left it without one). The wizard stays loaded
    // until UnloadWizard.
    virtual std::string ShowWizardForNewScript() = 0;
    virtual void UnloadWizard() = 0;
    // Replaces the script box's whole text.
    virtual void SetScriptText(std::string_view text) = 0;
    virtual void ColorizeCode() = 0;
    // Validates and, when valid, stores the script and raises ButtonClick(1).
    virtual void SaveCode() = 0;
    virtual bool Validate() = 0;
    virtual void ResizeForm() = 0;
    virtual std::string Caption() = 0;
    virtual int32_t Handle() = 0;
    virtual void ChangeSettings() = 0;
    virtual void UpdateLanguages(const XmlNode& pLanguages) = 0;
    virtual void ChangeInterfaceLanguage(std::string_view pLanguageId) = 0;
};

// Creates an editor window. The one in force is toolkit().editorForm; without one, LoadForm fails
// with 429.
using EditorFormFactory = std::function<std::unique_ptr<IEditorForm>(EditorFormEvents)>;

} // namespace zel
