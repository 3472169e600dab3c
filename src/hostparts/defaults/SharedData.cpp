#include "hostparts/defaults/SharedData.h"

#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"
#include "platform/http/XmlBodyText.h"

namespace zel {
namespace {

constexpr char kScriptElement[] = "ScriptData";

XmlNode ensureChild(XmlNode& parent, const char* name)
{
    XmlNode found = parent.child(name);
    return found ? found : parent.appendElement(name);
}

} // namespace

SharedData::SharedData()
{
    m_root = XmlNode::parse("<Activity><Properties><ExecutionEngine/></Properties></Activity>").documentElement();
}

void SharedData::LoadData(std::string_view data)
{
    // The text comes back as UTF-8 without a declaration, whatever encoding it declared.
    std::string decodeError;
    const std::optional<std::string> text = http::xmlBodyToUtf8(data, {}, &decodeError);
    if (!text)
        raise(ErrorNumber::InvalidArgument, "DOM : " + decodeError);
    XmlParseError error;
    XmlNode document = XmlNode::parse(*text, &error, XmlNode::Mode::AsWritten);
    if (document.isNone())
        raise(error.number, "DOM : " + error.reason + " (line " + std::to_string(error.line) + ", column " +
                                std::to_string(error.column) + ")");
    XmlNode root = document.documentElement();
    if (root.isNone())
        raise(ErrorNumber::InvalidArgument, "DOM : the activity data has no root element");
    XmlNode properties = ensureChild(root, "Properties");
    ensureChild(properties, "ExecutionEngine");
    m_root = root;
}

XmlNode SharedData::DataNode()
{
    // The document: a DOCTYPE and comments around the root element are part of the data.
    return m_root.ownerDocument();
}

XmlNode SharedData::AttributesNode()
{
    return m_root.child("Attributes");
}

XmlNode SharedData::ScriptNode()
{
    return m_root.child(kScriptElement);
}

void SharedData::SetScriptNode(const XmlNode& node)
{
    if (node.isNone())
        raiseObjectNotSet("the robot script document");
    // A copy with its attributes and namespace declarations, always named ScriptData so that the
    // next load finds it again, whatever the name of the element the caller built it in.
    XmlNode old = ScriptNode();
    XmlNode replacement = m_root.insertBefore(node.cloneDeep(), old);
    replacement.setName(kScriptElement);
    if (old)
        m_root.removeChild(old);
}

std::string SharedData::UserLanguage()
{
    return m_root.child("UserLanguage").text();
}

std::string SharedData::ContextText()
{
    return m_root.child("ContextText").text();
}

bool SharedData::HasScript()
{
    return ScriptNode().child("RobotScript") ? true : false;
}

void SharedData::SetButtonResult(int32_t button)
{
    m_buttonResult = button;
}

std::string SharedData::Description()
{
    return m_root.child("Description").text();
}

void SharedData::SetDescription(std::string_view description)
{
    XmlNode element = ensureChild(m_root, "Description");
    XmlFncs::xmlAddCDATA(element, description);
}

XmlNode SharedData::PropertiesNode()
{
    return ensureChild(m_root, "Properties");
}

} // namespace zel
