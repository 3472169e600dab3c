#pragma once

#include "common/ISharedData.h"
#include "platform/xml/XmlNode.h"
#include "zel/ZelScriptEditor.h"

#include <memory>
#include <string>

namespace zel {

class cRobot;

// The process-wide state, one copy per loaded library and shared by every form engine: a
// second engine replaces what the first set. Everything runs on the host's UI thread.
struct Globals
{
    std::string gstrPathData;
    std::string gstrLanguageId;
    ISkin* gobjSkin = nullptr; // the host's, not owned
    XmlNode gxmlLanguages;
    std::shared_ptr<ISharedData> gobjSharedData;
    std::shared_ptr<cRobot> gobjRobot;
    std::string gstrContextText;
};

Globals& globals();

} // namespace zel
