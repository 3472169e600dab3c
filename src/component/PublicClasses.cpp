#include "component/PublicClasses.h"

#include "hostparts/defaults/DefaultComponents.h"
#include "platform/error/ErrorRecord.h"

namespace zel {
namespace {

// An XML text from the host as a node: the empty text is no node, anything else must parse.
XmlNode nodeFromText(std::string_view text, const char* what)
{
    if (text.empty())
        return {};
    XmlParseError error;
    XmlNode document = XmlNode::parse(text, &error);
    if (document.isNone())
        raise(error.number, std::string("DOM : ") + what + ": " + error.reason + " (line " +
                                std::to_string(error.line) + ", column " + std::to_string(error.column) + ")");
    return document.documentElement();
}

} // namespace

bool FormEngineObject::LoadForm(INotifier* pNotifier, std::string_view pLanguages, ISkin* pSkin)
{
    // Parsed where the engine keeps its copy: languages that do not parse fail that step only,
    // after the editor was created (and are ignored when a form was held before).
    return m_engine.LoadForm(
        pNotifier, [&] { return nodeFromText(pLanguages, "languages"); }, pSkin);
}

void FormEngineObject::UpdateLanguages(std::string_view pLanguages)
{
    XmlNode languages;
    try {
        languages = nodeFromText(pLanguages, "languages");
    } catch (...) {
        logAndRethrow("  cFormEngine.UpdateLanguages() ", " cFormEngine.UpdateLanguages() ");
    }
    m_engine.UpdateLanguages(languages);
}

void RobotObject::SetFreeDefinitionXml(std::string_view pXmlFreeDefinition)
{
    XmlNode node;
    try {
        node = nodeFromText(pXmlFreeDefinition, "robot script document");
    } catch (...) {
        rethrowWithTag(" cRobot.SetFreeDefinition() ");
    }
    m_robot.SetFreeDefinition(node);
}

void registerLibraryClasses()
{
    registerDefaultComponents();
    auto& registry = com::ClassRegistry::instance();
    registry.registerClass(kClsidFormEngine, kProgIdFormEngine, [] { return std::make_unique<FormEngineObject>(); });
    registry.registerClass(kClsidEngine, kProgIdEngine, [] { return std::make_unique<EngineObject>(); });
    registry.registerClass(kClsidRobot, kProgIdRobot, [] { return std::make_unique<RobotObject>(); });
}

} // namespace zel
