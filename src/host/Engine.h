#pragma once

#include "platform/com/ClassRegistry.h"

#include <functional>
#include <string_view>

namespace zel {

// The small second entry class: sets the interface language and shows the older wizard.
class Engine
{
public:
    // Shows the older wizard, non-modal and without an owner; raises 429 when the window
    // toolkit has not installed it.
    void Show();
    // Sets gstrLanguageId and gstrPathData.
    void LngSet(std::string_view pstrLanguage, std::string_view pstrLngPath);

    // Installs what Show runs (the window toolkit layer does at load).
    static void setShowHandler(std::function<void()> handler);

private:
    com::ObjectCounter m_counter;
};

} // namespace zel
