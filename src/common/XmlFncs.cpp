#include "common/XmlFncs.h"

#include "platform/com/ClassRegistry.h"
#include "platform/error/ErrorRecord.h"
#include "platform/module/Module.h"

namespace zel::XmlFncs {

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string trimSpaces(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

namespace {

// The embedding rule shared by the adding functions.
void embed(XmlNode& node, std::string_view text)
{
    if (isBlank(text))
        return;
    XmlNode parsed = XmlNode::parse(text);
    XmlNode root = parsed.documentElement();
    if (root)
        node.appendChild(root);
    else
        node.appendCData(text);
}

} // namespace

XmlNode xmlAddCDATA(XmlNode& node, std::string_view text)
{
    try {
        if (node.isNone())
            return {};
        node.setText("");
        node.removeChildren();
        if (!isBlank(text))
            node.appendCData(text);
        return node;
    } catch (...) {
        rethrowWithTag(" XmlFncs.xmlAddCDATA() ");
    }
}

XmlNode xmlAddDataToNode(const XmlNode& node, std::string_view text)
{
    try {
        XmlNode target = node;
        if (target.isNone())
            raiseObjectNotSet("the node to add data to");
        embed(target, text);
        return target;
    } catch (...) {
        rethrowWithTag(" XmlFncs.xmlAddDataToNode() ");
    }
}

XmlNode xmlDomLoad(std::string_view path)
{
    try {
        std::filesystem::path file =
            path.empty() ? Module::dataFolder() / (Module::baseName() + ".xml") : std::filesystem::path(path);
        return XmlNode::load(file).documentElement();
    } catch (...) {
        rethrowWithTag(" XmlFncs.xmlDomLoad() ");
    }
}

XmlNode xmlMakeAndAddElement(XmlNode& parent, std::string_view name, std::string_view text)
{
    try {
        if (parent.isNone())
            raiseObjectNotSet("the parent of a new element");
        XmlNode element = parent.appendElement(name);
        embed(element, text);
        return element;
    } catch (...) {
        rethrowWithTag(" XmlFncs.xmlMakeAndAddElement() ");
    }
}

XmlNode xmlMakeElement(std::string_view name, std::string_view text)
{
    try {
        XmlNode element = XmlNode::newElement(name);
        embed(element, text);
        return element.cloneDeep();
    } catch (...) {
        rethrowWithTag(" XmlFncs.xmlMakeElement() ");
    }
}

XmlNode xmlMakeNode(std::string_view text)
{
    try {
        return XmlNode::parse(text).documentElement();
    } catch (...) {
        rethrowWithTag(" XmlFncs.xmlMakeNode() ");
    }
}

std::string xmlNodeValueGet(const XmlNode& node, std::string_view xpath)
{
    try {
        if (node.isNone())
            return {};
        if (xpath.empty())
            return node.text();
        // The path may select an attribute as well as an element: both have a text.
        std::string value, name;
        if (!node.selectFirstText(xpath, value, name))
            return {};
        if (name == "SmtpPassword") {
            auto encoder = com::ClassRegistry::instance().createAs<IDataEncode>(kProgIdDataEncode);
            value = encoder->Decrypt(value);
        }
        return value;
    } catch (...) {
        rethrowWithTag(" XmlFncs.xmlNodeValueGet() ");
    }
}

XmlNode xmlNodeXPathSubNodesCreate(const XmlNode& root, std::string& xpath)
{
    try {
        if (root.isNone())
            raiseObjectNotSet("the root of a path to create");
        if (root.selectSingleNode(xpath))
            return root;
        std::string running;
        XmlNode current;
        std::size_t start = 0;
        while (start <= xpath.size()) {
            std::size_t slash = xpath.find('/', start);
            if (slash == std::string::npos)
                slash = xpath.size();
            const std::string name = xpath.substr(start, slash - start);
            running.append("/").append(name);
            if (!running.empty() && running[0] == '/')
                running.erase(0, 1);
            if (root.selectSingleNode(running).isNone()) {
                XmlNode parent = current.isNone() ? root : current;
                xmlMakeAndAddElement(parent, name, "");
            }
            current = root.selectSingleNode(running);
            start = slash + 1;
        }
        return root;
    } catch (...) {
        rethrowWithTag(" XmlFncs.xmlNodeXPathSubNodesCreate() ");
    }
}

} // namespace zel::XmlFncs
