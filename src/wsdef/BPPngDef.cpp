#include "wsdef/BPPngDef.h"

#include "common/Globals.h"
#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"

namespace zel {

void BPPngDef::PngDefinicionLoad()
{
    try {
        m_nodePngDef = XmlFncs::xmlMakeNode(pubstrPngDef);
    } catch (...) {
        rethrowWithTag(" BPPngDef.PngDefinicionLoad() ");
    }
}

std::string BPPngDef::AttributesGet()
{
    try {
        // Not cached: the host may hand over new activity data while the wizard is open.
        const std::shared_ptr<ISharedData> sharedData = globals().gobjSharedData;
        if (!sharedData)
            return {};
        const XmlNode attributes = sharedData->AttributesNode();
        return attributes ? attributes.xml() : std::string();
    } catch (...) {
        rethrowWithTag(" BPPngDef.AttributesGet() ");
    }
}

} // namespace zel
