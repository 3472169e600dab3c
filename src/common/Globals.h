#pragma once

#include "common/ISharedData.h"
#include "platform/xml/XmlNode.h"
#include "zel/ZelScriptEditor.h"

#include <memory>
#include <string>

namespace zel {

// The process-wide state every layer above the platform reads, one copy per loaded library and
// shared by every form engine: a second engine replaces what the first set. Everything runs on the
// host's UI thread. The robot script object belongs to the host layer (host/HostState.h).
struct Globals
{
    std::string gstrPathData;
    std::string gstrLanguageId;
    ISkin* gobjSkin = nullptr; // the host's, not owned
    XmlNode gxmlLanguages;
    std::shared_ptr<ISharedData> gobjSharedData;
    std::string gstrContextText;
};

Globals& globals();

} // namespace zel
