#include "host/forms/NewScriptWizard.h"

namespace zel {
namespace {

NewScriptWizard& installed()
{
    static NewScriptWizard wizard;
    return wizard;
}

} // namespace

NewScriptWizard setNewScriptWizard(NewScriptWizard wizard)
{
    NewScriptWizard previous = std::move(installed());
    installed() = std::move(wizard);
    return previous;
}

const NewScriptWizard& newScriptWizard()
{
    return installed();
}

} // namespace zel
