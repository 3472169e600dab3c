#include "wsdef/ZelConfig.h"

#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"
#include "platform/module/Module.h"

namespace zel {

void ZelConfig::ConfigLoad()
{
    try {
        if (m_root)
            return;
        m_root = XmlFncs::xmlDomLoad((Module::dataFolder() / kFileName).string());
    } catch (...) {
        rethrowWithTag(" ZelConfig.ConfigLoad() ");
    }
}

std::string ZelConfig::ScriptGetOne(std::string_view pstrScriptId)
{
    try {
        ConfigLoad();
        if (m_root.isNone())
            raiseObjectNotSet(std::string("the templates file ") + kFileName);
        // The identifier is compared as text rather than pasted into an XPath, so any identifier
        // (one with an apostrophe included) is looked up safely.
        for (const XmlNode& section : m_root.selectNodes("Sections/Section")) {
            for (const XmlNode& id : section.selectNodes("SecId")) {
                if (id.text() == pstrScriptId)
                    return XmlFncs::xmlNodeValueGet(section, "EvalCode");
            }
        }
        return {};
    } catch (...) {
        rethrowWithTag(" ZelConfig.ScriptGetOne() ");
    }
}

} // namespace zel
