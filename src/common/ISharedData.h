#pragma once

#include "platform/xml/XmlNode.h"
#include "zel/ZelScriptEditor.h"

#include <string>
#include <string_view>

namespace zel {

// The host product's activity-data component: it holds one activity's data and exposes the
// parts the editor works on. Node getters return live nodes: changes made in them are part of
// DataNode(). The default implementation lives in hostparts; a host may register its own.
class ISharedData : public IComponent
{
public:
    // The process attribute catalogue: each child element's text is one attribute id.
    virtual XmlNode AttributesNode() = 0;
    // The whole activity data.
    virtual XmlNode DataNode() = 0;
    // The stored robot script document, or none.
    virtual XmlNode ScriptNode() = 0;
    // Replaces the stored robot script document with a copy of node.
    virtual void SetScriptNode(const XmlNode& node) = 0;
    virtual std::string UserLanguage() = 0;
    virtual std::string ContextText() = 0;
    virtual bool HasScript() = 0;
    // Takes the data text; throws an error record and keeps the previous data when it is not
    // well-formed.
    virtual void LoadData(std::string_view data) = 0;
    // Told which button closed the editor: 0 Cancel, 1 OK.
    virtual void SetButtonResult(int32_t button) = 0;
    virtual std::string Description() = 0;
    virtual void SetDescription(std::string_view description) = 0;
    // The element that holds "ExecutionEngine".
    virtual XmlNode PropertiesNode() = 0;
};

} // namespace zel
