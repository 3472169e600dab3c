#pragma once

#include "platform/com/ClassRegistry.h"

#include <string_view>

namespace zel {

// The small second entry class: sets the interface language and shows the older wizard.
class Engine
{
public:
    // Shows the older wizard (toolkit().olderWizard), non-modal and without an owner; raises 429
    // when the window toolkit provides none.
    void Show();
    // Sets gstrLanguageId and gstrPathData.
    void LngSet(std::string_view pstrLanguage, std::string_view pstrLngPath);

private:
    com::ObjectCounter m_counter;
};

} // namespace zel
