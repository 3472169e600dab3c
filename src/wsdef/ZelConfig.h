#pragma once

#include "platform/xml/XmlNode.h"

#include <string>
#include <string_view>

namespace zel {

// The script templates file "ZelWebServiceConfig.xml" in the component's data folder: a list of
// Sections/Section elements, each with a SecId and the template text in EvalCode. Each object
// reads the file at most once, on its first request, so a new object sees an edited file.
class ZelConfig
{
public:
    // The name of the templates file in the component's data folder.
    static constexpr const char* kFileName = "ZelWebServiceConfig.xml";

    // Loads the templates file unless this object already holds it. A missing or malformed
    // file leaves the object without a root; no error is raised here.
    void ConfigLoad();

    // The text of the first section whose SecId equals pstrScriptId exactly (case-sensitive);
    // "" when no section has it or the section has no EvalCode. Raises "object not set" (91)
    // when the templates file could not be loaded.
    std::string ScriptGetOne(std::string_view pstrScriptId);

private:
    XmlNode m_root;
};

} // namespace zel
