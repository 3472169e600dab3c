#include "host/cRobot.h"

#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"

namespace zel {
namespace {

constexpr char kScriptPath[] = "RobotScript/Script";
constexpr char kEvalCodePath[] = "RobotScript/Script/EvalCode";
constexpr char kLanguagePath[] = "RobotScript/Script/Language";
constexpr char kDefinitionPath[] = "RobotScript/Script/Definition";

} // namespace

XmlNode cRobot::requireScriptNode() const
{
    if (m_scriptNode.isNone())
        raiseObjectNotSet("no robot script document is set");
    return m_scriptNode;
}

std::string cRobot::GetAdditionalDefinition()
{
    try {
        const XmlNode definition = requireScriptNode().selectSingleNode(kDefinitionPath);
        return definition.isNone() ? std::string() : definition.xml();
    } catch (...) {
        rethrowWithTag(" cRobot.GetAdditionalDefinition() ");
    }
}

void cRobot::SetFreeDefinition(const XmlNode& pXmlFreeDefinition)
{
    try {
        m_scriptNode = pXmlFreeDefinition;
    } catch (...) {
        rethrowWithTag(" cRobot.SetFreeDefinition() ");
    }
}

std::string cRobot::GetEvalCode()
{
    try {
        const XmlNode evalCode = requireScriptNode().selectSingleNode(kEvalCodePath);
        if (evalCode.isNone())
            raiseObjectNotSet("the robot script document has no RobotScript/Script/EvalCode");
        return evalCode.text();
    } catch (...) {
        rethrowWithTag(" cRobot.GetEvalCode() ");
    }
}

std::string cRobot::GetLanguage()
{
    try {
        const XmlNode language = requireScriptNode().selectSingleNode(kLanguagePath);
        if (language.isNone())
            raiseObjectNotSet("the robot script document has no RobotScript/Script/Language");
        return language.text();
    } catch (...) {
        rethrowWithTag(" cRobot.GetLanguage() ");
    }
}

void cRobot::SetEvalCode(std::string_view pEvalCode)
{
    try {
        XmlNode evalCode = requireScriptNode().selectSingleNode(kEvalCodePath);
        XmlFncs::xmlAddCDATA(evalCode, pEvalCode);
    } catch (...) {
        rethrowWithTag(" cRobot.SetEvalCode() ");
    }
}

void cRobot::SetLanguage(std::string_view pLanguage)
{
    try {
        XmlNode language = requireScriptNode().selectSingleNode(kLanguagePath);
        XmlFncs::xmlAddCDATA(language, pLanguage);
    } catch (...) {
        rethrowWithTag(" cRobot.SetLanguage() ");
    }
}

XmlNode cRobot::GetFreeDefinition()
{
    try {
        return m_scriptNode;
    } catch (...) {
        rethrowWithTag(" cRobot.GetFreeDefinition() ");
    }
}

void cRobot::SetAdditionalDefinition(std::string_view pstrNodeDefinition)
{
    try {
        const XmlNode definition = XmlFncs::xmlMakeNode(pstrNodeDefinition);
        XmlNode script = requireScriptNode().selectSingleNode(kScriptPath);
        if (script.isNone())
            return;
        for (const XmlNode& child : script.children())
            if (child.baseName() == "Definition")
                script.removeChild(child);
        if (definition)
            script.appendChild(definition);
    } catch (...) {
        rethrowWithTag(" cRobot.SetAdditionalDefinition() ");
    }
}

} // namespace zel
