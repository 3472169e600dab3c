#pragma once

#include "platform/xml/XmlNode.h"

#include <string>
#include <string_view>

namespace zel {

// Holds the robot script document while the editor is open: the element that contains
// RobotScript/Script with Language, EvalCode and an optional Definition. The node is shared
// with whoever set it: every change made here is made in the caller's node. Every operation
// raises its failures with its tag (" cRobot.Operation() "); reading or writing with no node
// set raises 91.
class cRobot
{
public:
    // The XML text of RobotScript/Script/Definition; "" when there is none.
    std::string GetAdditionalDefinition();
    // Makes pXmlFreeDefinition the script node (no copy).
    void SetFreeDefinition(const XmlNode& pXmlFreeDefinition);
    // The text of RobotScript/Script/EvalCode; raises when the element is missing.
    std::string GetEvalCode();
    // The text of RobotScript/Script/Language; raises when the element is missing.
    std::string GetLanguage();
    // Replaces EvalCode's content with one CDATA section (nothing for a blank text). Nothing
    // is written when the element is missing.
    void SetEvalCode(std::string_view pEvalCode);
    // Likewise for Language.
    void SetLanguage(std::string_view pLanguage);
    // The script node itself, or none.
    XmlNode GetFreeDefinition();
    // Replaces every Definition under RobotScript/Script with the element parsed from
    // pstrNodeDefinition, appended last. Nothing changes when Script is missing; a text that is
    // not well-formed XML removes the old definition and adds none.
    void SetAdditionalDefinition(std::string_view pstrNodeDefinition);

private:
    XmlNode requireScriptNode() const;
    XmlNode m_scriptNode;
};

} // namespace zel
