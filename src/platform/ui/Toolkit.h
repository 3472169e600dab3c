#pragma once

#include "platform/ui/UiServices.h"

#include <functional>
#include <memory>
#include <string>

class QDialog;
class QWidget;

namespace zel {

class IEditorForm;
struct EditorFormEvents;

// What the web-service wizard hands back when it closes: the generated script ("" when the user
// left without one) and the definition document of the call as XML text.
struct WizardOutcome
{
    std::string EvalCode;
    std::string definitionXml;
};

// What the registry browser hands back when it closes: cancelled unless the user pressed Select,
// and then the address (WSDL or access point) of the node selected.
struct UddiChoice
{
    bool cancelled = true;
    std::string address;
};

// The one seam between the toolkit-free code and the window toolkit: one opener per window, the
// user-interface services and the modal runner. The component fills it once at start-up; tests
// replace single members and put them back. A window whose opener is unset is not available
// (its caller says so or raises 429). The seam names the windows' own interfaces only by
// declaration, so it adds no dependency on the layers that define them.
struct Toolkit
{
    // The editor window frmMain: a new, unloaded form that raises events towards the form engine.
    std::function<std::unique_ptr<IEditorForm>(EditorFormEvents)> editorForm;
    // The web-service wizard frmWizardNuevo: shows it modally over owner, unloads it and returns
    // what it generated.
    std::function<WizardOutcome(QWidget* owner)> webServiceWizard;
    // The older wizard frmWizard: shows it non-modal, without an owner.
    std::function<void()> olderWizard;
    // The registry browser frmUDDIExplorer: shows it modally over owner and returns the choice.
    // (Its options dialog frmOptions is the browser's own: it opens it directly.)
    std::function<UddiChoice(QWidget* owner)> uddiExplorer;

    // Message boxes and the clipboard; the headless default when empty.
    std::shared_ptr<UiServices> ui;
    // Shows a dialog modally and returns when it is hidden again; when empty, the dialog's own
    // event loop runs (ui::showModal).
    std::function<void(QDialog&)> modalRunner;
    // The editor window's caption, which error reports take as their title; "" when unset.
    std::function<std::string()> editorCaption;
};

// The toolkit in force. Until the component installs the window toolkit it holds the headless
// defaults: no windows, message boxes written to standard error and answered with their first
// button, a clipboard in memory.
Toolkit& toolkit();

// The headless defaults, as toolkit() holds them at load.
Toolkit headlessToolkit();

} // namespace zel
