#pragma once

#include "common/ISharedData.h"
#include "platform/com/ClassRegistry.h"

namespace zel {

// The default activity-data component. The data text is an XML document:
//   <Activity>
//     <UserLanguage>en</UserLanguage>
//     <ContextText>Order process / Check stock</ContextText>
//     <Description>...</Description>
//     <Properties><ExecutionEngine>...</ExecutionEngine></Properties>
//     <Attributes><Attribute>OrderId</Attribute>...</Attributes>
//     <ScriptData><RobotScript>...</RobotScript></ScriptData>
//   </Activity>
// Everything else the text holds is kept and comes back unchanged from DataNode(). Missing
// "Properties/ExecutionEngine" is created empty on load, so the editor always has one.
class SharedData final : public ISharedData
{
public:
    SharedData();

    XmlNode AttributesNode() override;
    XmlNode DataNode() override;
    XmlNode ScriptNode() override;
    void SetScriptNode(const XmlNode& node) override;
    std::string UserLanguage() override;
    std::string ContextText() override;
    bool HasScript() override;
    void LoadData(std::string_view data) override;
    void SetButtonResult(int32_t button) override;
    std::string Description() override;
    void SetDescription(std::string_view description) override;
    XmlNode PropertiesNode() override;

    // The last button passed to SetButtonResult, -1 before any.
    int32_t ButtonResult() const { return m_buttonResult; }

private:
    XmlNode m_root;
    int32_t m_buttonResult = -1;
    com::ObjectCounter m_counter;
};

} // namespace zel
