#pragma once

#include "platform/xml/XmlNode.h"

#include <string>
#include <string_view>

// The few patterns every part of the system repeats on XML. Values are stored by one rule
// (the embedding rule): a blank value adds nothing, a well-formed XML text adds a deep copy of
// its root element, any other text adds one CDATA section holding it unchanged. "Blank" means
// empty after removing leading and trailing spaces. Every function raises its failures with
// its tag appended (" XmlFncs.name() ").
namespace zel::XmlFncs {

// Replaces node's content: removes its text and children, then, when text is not blank, adds
// one CDATA section holding text untrimmed. Returns node; none for none.
XmlNode xmlAddCDATA(XmlNode& node, std::string_view text);

// Adds text to node by the embedding rule, keeping what node holds. Returns node.
XmlNode xmlAddDataToNode(const XmlNode& node, std::string_view text);

// Loads a file and returns its root element; none when it cannot be loaded or parsed. An empty
// path means the file in the component's data folder named after it with the extension ".xml".
XmlNode xmlDomLoad(std::string_view path);

// Creates an element under parent (last child) holding text by the embedding rule.
XmlNode xmlMakeAndAddElement(XmlNode& parent, std::string_view name, std::string_view text);

// A detached element holding text by the embedding rule.
XmlNode xmlMakeElement(std::string_view name, std::string_view text);

// The root element of text parsed in a new document; none when text is not well-formed.
XmlNode xmlMakeNode(std::string_view text);

// The text content of the first node xpath selects below node (node's own text for an empty
// xpath); "" for none or when nothing is selected. A node named "SmtpPassword" is decrypted
// through the data-encoding component.
std::string xmlNodeValueGet(const XmlNode& node, std::string_view xpath);

// Makes sure the chain of elements of xpath ("a/b/c") exists below root, creating only the
// missing tail. Returns root.
XmlNode xmlNodeXPathSubNodesCreate(const XmlNode& root, std::string& xpath);

// True when text is empty after removing leading and trailing spaces.
bool isBlank(std::string_view text);

// text without leading and trailing spaces (spaces only, not tabs or line ends).
std::string trimSpaces(std::string_view text);

} // namespace zel::XmlFncs
