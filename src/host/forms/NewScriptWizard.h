#pragma once

#include <functional>
#include <string>

class QWidget;

namespace zel {

// What the web-service wizard hands back when it closes: the generated script ("" when the user
// left without one) and the definition document of the call as XML text.
struct WizardOutcome
{
    std::string EvalCode;
    std::string definitionXml;
};

// Shows the web-service wizard modally over owner, unloads it and returns what it generated.
using NewScriptWizard = std::function<WizardOutcome(QWidget* owner)>;

// Installs the wizard the editor opens (the wizard's own module does at start-up); returns the one
// replaced. Without one, the editor tells the user that the wizard is not available.
NewScriptWizard setNewScriptWizard(NewScriptWizard wizard);
const NewScriptWizard& newScriptWizard();

} // namespace zel
