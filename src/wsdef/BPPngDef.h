#pragma once

#include "platform/xml/XmlNode.h"

#include <string>

namespace zel {

// The wizard's access to the process attribute catalogue, which the host hands over with the
// activity data and the process-wide activity-data object keeps.
class BPPngDef
{
public:
    // A process definition as XML text, set by the user of the class.
    std::string pubstrPngDef;

    // Parses pubstrPngDef and keeps its root element; keeps none when the text does not parse.
    void PngDefinicionLoad();

    // The catalogue element of the process-wide activity data serialised as XML, asked afresh on
    // every call; "" when there is no activity-data object or it has no catalogue.
    std::string AttributesGet();

private:
    XmlNode m_nodePngDef;
};

} // namespace zel
