#include "platform/xml/XmlNode.h"

#include "platform/error/ErrorRecord.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

namespace zel {

struct XmlNode::Holder
{
    pugi::xml_document document;
    // A detached node lives alone in a document of its own; its parent is reported as none.
    bool detached = false;
    // The entities the parsed text referred to (AsWritten): pugixml keeps such a reference as
    // text, and xml() writes it back as a reference.
    std::vector<std::string> entityReferences;
};

namespace {

// Comments and processing instructions are kept so that documents round-trip; DOCTYPE is
// skipped (pugixml never expands entities declared in it nor fetches anything).
// Parsed as a fragment so that top-level text is kept and can be refused: pugixml drops it
// silently otherwise. The single top-level element is checked after parsing.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi | pugi::parse_fragment;
constexpr unsigned kPrintOptions = pugi::format_raw | pugi::format_no_declaration;

// Parser failures carry numbers in the range the XML parser of the original platform used, so
// they read as parser errors in the log and cannot be mistaken for the system's own numbers.
constexpr int32_t kParseErrorBase = static_cast<int32_t>(0xC00CE500u);
constexpr int32_t kTopLevelStatus = 0x40; // beyond pugixml's own statuses
constexpr int32_t kFileNotFound = static_cast<int32_t>(0x800C0006u);

void fillError(XmlParseError* error, const pugi::xml_parse_result& result, std::string_view text)
{
    if (error == nullptr)
        return;
    error->number = kParseErrorBase + static_cast<int32_t>(result.status);
    error->reason = result.description();
    error->offset = result.offset < 0 ? 0 : static_cast<std::size_t>(result.offset);
    const std::size_t end = std::min(error->offset, text.size());
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    error->line = line;
    error->column = static_cast<int>(end - lineStart) + 1;
}

XmlNodeType typeOf(pugi::xml_node_type t)
{
    switch (t) {
    case pugi::node_element:
        return XmlNodeType::Element;
    case pugi::node_pcdata:
        return XmlNodeType::Text;
    case pugi::node_cdata:
        return XmlNodeType::CData;
    case pugi::node_comment:
        return XmlNodeType::Comment;
    case pugi::node_pi:
    case pugi::node_declaration:
        return XmlNodeType::ProcessingInstruction;
    case pugi::node_document:
        return XmlNodeType::Document;
    default:
        return XmlNodeType::None;
    }
}

// The next node after n in document order within root's subtree, or an empty node: the walk
// holds no stack, since documents can nest deeper than the stack allows.
pugi::xml_node nextInSubtree(pugi::xml_node n, const pugi::xml_node& root)
{
    if (n.first_child())
        return n.first_child();
    while (n && n != root && !n.next_sibling())
        n = n.parent();
    return !n || n == root ? pugi::xml_node() : n.next_sibling();
}

// Removes child with its subtree from parent. pugixml frees a subtree recursively, so the
// subtree is taken apart leaf by leaf first.
bool removeSubtree(pugi::xml_node parent, const pugi::xml_node& child)
{
    if (child.parent() != parent)
        return false;
    for (pugi::xml_node n = child; n != child || n.first_child();) {
        while (n.first_child())
            n = n.first_child();
        pugi::xml_node up = n.parent();
        up.remove_child(n);
        n = up;
    }
    return parent.remove_child(child);
}

void collectText(const pugi::xml_node& node, std::string& out)
{
    for (pugi::xml_node n = nextInSubtree(node, node); n; n = nextInSubtree(n, node)) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            out.append(n.value());
    }
}

// The first element that carries the same attribute twice, or an empty node. pugixml accepts
// such documents; XML does not, and a copy embedded in a stored document would make that
// document unreadable for every other parser.
pugi::xml_node duplicateAttributeElement(const pugi::xml_node& root)
{
    std::vector<std::string_view> names;
    for (pugi::xml_node n = root; n; n = nextInSubtree(n, root)) {
        if (n.type() == pugi::node_element && n.first_attribute() != n.last_attribute()) {
            names.clear();
            for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
                names.emplace_back(a.name());
            std::sort(names.begin(), names.end());
            if (std::adjacent_find(names.begin(), names.end()) != names.end())
                return n;
        }
    }
    return {};
}

// The names of the entities that text refers to, other than the five XML predefines.
std::vector<std::string> entityReferencesIn(std::string_view text)
{
    const auto nameChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':' || c == '-' || c == '.' ||
               static_cast<unsigned char>(c) >= 0x80;
    };
    std::vector<std::string> names;
    for (std::size_t at = text.find('&'); at != std::string_view::npos; at = text.find('&', at + 1)) {
        std::size_t end = at + 1;
        while (end < text.size() && nameChar(text[end]))
            ++end;
        if (end == at + 1 || end >= text.size() || text[end] != ';' || text[at + 1] == '-' || text[at + 1] == '.' ||
            std::isdigit(static_cast<unsigned char>(text[at + 1])))
            continue;
        const std::string name(text.substr(at + 1, end - at - 1));
        if (name != "lt" && name != "gt" && name != "amp" && name != "apos" && name != "quot" &&
            std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

pugi::xpath_query compileXPath(std::string_view xpath)
{
    try {
        return pugi::xpath_query(std::string(xpath).c_str());
    } catch (const pugi::xpath_exception& e) {
        raise(ErrorNumber::Unspecified, std::string("XPath : ") + e.what() + " in '" + std::string(xpath) + "'");
    }
}

} // namespace

std::optional<UnstorableCharacter> findUnstorableCharacter(std::string_view text)
{
    int line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n')
            ++line;
        else if (c < 0x20 && c != '\t' && c != '\r')
            return UnstorableCharacter{line, c};
        // U+FFFE and U+FFFF are EF BF BE and EF BF BF.
        else if (c == 0xEF && text.substr(i + 1, 2) == "\xBF\xBE")
            return UnstorableCharacter{line, 0xFFFE};
        else if (c == 0xEF && text.substr(i + 1, 2) == "\xBF\xBF")
            return UnstorableCharacter{line, 0xFFFF};
    }
    return std::nullopt;
}

XmlNode::XmlNode() = default;
XmlNode::~XmlNode() = default;
XmlNode::XmlNode(const XmlNode&) = default;
XmlNode& XmlNode::operator=(const XmlNode&) = default;
XmlNode::XmlNode(XmlNode&& other) noexcept : m_holder(std::move(other.m_holder)), m_node(other.m_node)
{
    other.m_node = nullptr;
}
XmlNode& XmlNode::operator=(XmlNode&& other) noexcept
{
    m_holder = std::move(other.m_holder);
    m_node = other.m_node;
    other.m_node = nullptr;
    return *this;
}

XmlNode::XmlNode(std::shared_ptr<Holder> holder, const pugi::xml_node& node)
    : m_holder(node ? std::move(holder) : nullptr), m_node(node ? node.internal_object() : nullptr)
{
}

pugi::xml_node XmlNode::raw() const
{
    return pugi::xml_node(static_cast<pugi::xml_node_struct*>(m_node));
}

void XmlNode::requireNode(const char* operation) const
{
    if (isNone())
        raiseObjectNotSet(std::string("XML node (") + operation + ")");
}

XmlNode XmlNode::newDocument()
{
    auto holder = std::make_shared<Holder>();
    pugi::xml_node doc = holder->document;
    return XmlNode(holder, doc);
}

XmlNode XmlNode::newElement(std::string_view name)
{
    auto holder = std::make_shared<Holder>();
    holder->detached = true;
    pugi::xml_node element = holder->document.append_child(std::string(name).c_str());
    return XmlNode(holder, element);
}

XmlNode XmlNode::newCData(std::string_view text)
{
    auto holder = std::make_shared<Holder>();
    holder->detached = true;
    pugi::xml_node cdata = holder->document.append_child(pugi::node_cdata);
    cdata.set_value(std::string(text).c_str());
    return XmlNode(holder, cdata);
}

XmlNode XmlNode::parse(std::string_view text, XmlParseError* error, Mode mode)
{
    auto holder = std::make_shared<Holder>();
    const unsigned options =
        mode == Mode::AsWritten ? kParseOptions | pugi::parse_ws_pcdata_single | pugi::parse_doctype : kParseOptions;
    if (mode == Mode::AsWritten)
        holder->entityReferences = entityReferencesIn(text);
    const pugi::xml_parse_result result =
        holder->document.load_buffer(text.data(), text.size(), options, pugi::encoding_auto);
    if (!result) {
        fillError(error, result, text);
        return {};
    }
    // pugixml accepts several top-level elements and top-level text; XML does not.
    int elements = 0;
    for (pugi::xml_node n = holder->document.first_child(); n; n = n.next_sibling()) {
        const bool element = n.type() == pugi::node_element;
        const bool isText = n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata;
        if ((element && ++elements > 1) || isText) {
            if (error != nullptr) {
                *error = XmlParseError{};
                pugi::xml_parse_result at;
                at.status = pugi::status_end_element_mismatch;
                at.offset = static_cast<std::ptrdiff_t>(n.offset_debug() < 0 ? 0 : n.offset_debug());
                fillError(error, at, text);
                error->number = kParseErrorBase + kTopLevelStatus;
                error->reason =
                    element ? "Only one top level element is allowed" : "Invalid at the top level of the document";
            }
            return {};
        }
    }
    if (const pugi::xml_node duplicate = duplicateAttributeElement(holder->document)) {
        if (error != nullptr) {
            pugi::xml_parse_result at;
            at.status = pugi::status_bad_attribute;
            at.offset = duplicate.offset_debug() < 0 ? 0 : duplicate.offset_debug();
            fillError(error, at, text);
            error->reason = "Duplicate attribute in element '" + std::string(duplicate.name()) + "'";
        }
        return {};
    }
    if (elements == 0) {
        if (error != nullptr) {
            pugi::xml_parse_result at;
            at.status = pugi::status_no_document_element;
            at.offset = static_cast<std::ptrdiff_t>(text.size());
            fillError(error, at, text);
        }
        return {};
    }
    pugi::xml_node doc = holder->document;
    return XmlNode(holder, doc);
}

XmlNode XmlNode::load(const std::filesystem::path& path, XmlParseError* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error != nullptr)
            *error = XmlParseError{kFileNotFound, "The system cannot locate the object specified: " + path.string(), 0,
                                   0, 0};
        return {};
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parse(text, error);
}

bool XmlNode::isNone() const
{
    return m_node == nullptr;
}

XmlNodeType XmlNode::type() const
{
    return isNone() ? XmlNodeType::None : typeOf(raw().type());
}

std::string XmlNode::name() const
{
    if (isNone())
        return {};
    const pugi::xml_node n = raw();
    return n.type() == pugi::node_element || n.type() == pugi::node_pi ? n.name() : "";
}

std::string XmlNode::baseName() const
{
    std::string qualified = name();
    const std::size_t colon = qualified.find(':');
    return colon == std::string::npos ? qualified : qualified.substr(colon + 1);
}

std::string XmlNode::value() const
{
    if (isNone())
        return {};
    const pugi::xml_node n = raw();
    return n.type() == pugi::node_element || n.type() == pugi::node_document ? "" : n.value();
}

std::string XmlNode::text() const
{
    if (isNone())
        return {};
    const pugi::xml_node n = raw();
    if (n.type() != pugi::node_element && n.type() != pugi::node_document)
        return n.value();
    std::string out;
    collectText(n, out);
    return out;
}

void XmlNode::setText(std::string_view text)
{
    requireNode("setText");
    pugi::xml_node n = raw();
    if (n.type() != pugi::node_element && n.type() != pugi::node_document) {
        n.set_value(std::string(text).c_str());
        return;
    }
    removeChildren();
    if (!text.empty())
        n.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
}

std::string XmlNode::xml() const
{
    if (isNone())
        return {};
    std::ostringstream out;
    const pugi::xml_node n = raw();
    if (n.type() == pugi::node_document) {
        for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
            c.print(out, "", kPrintOptions);
    } else {
        n.print(out, "", kPrintOptions);
    }
    std::string text = out.str();
    for (const std::string& name : m_holder->entityReferences) {
        const std::string escaped = "&amp;" + name + ";";
        for (std::size_t at = text.find(escaped); at != std::string::npos; at = text.find(escaped, at + 1))
            text.erase(at + 1, 4);
    }
    return text;
}

void XmlNode::setName(std::string_view name)
{
    requireNode("setName");
    if (!raw().set_name(std::string(name).c_str()))
        raise(ErrorNumber::InvalidArgument, "Only an element can be renamed");
}

XmlNode XmlNode::parent() const
{
    if (isNone())
        return {};
    const pugi::xml_node p = raw().parent();
    if (!p || (p.type() == pugi::node_document && m_holder->detached))
        return {};
    return XmlNode(m_holder, p);
}

XmlNode XmlNode::ownerDocument() const
{
    if (isNone() || m_holder->detached)
        return {};
    pugi::xml_node doc = m_holder->document;
    return XmlNode(m_holder, doc);
}

XmlNode XmlNode::documentElement() const
{
    if (isNone())
        return {};
    return XmlNode(m_holder, m_holder->document.document_element());
}

XmlNode XmlNode::firstChild() const
{
    return isNone() ? XmlNode() : XmlNode(m_holder, raw().first_child());
}

XmlNode XmlNode::nextSibling() const
{
    if (isNone() || (m_holder->detached && raw().parent() == m_holder->document))
        return {};
    return XmlNode(m_holder, raw().next_sibling());
}

std::vector<XmlNode> XmlNode::children() const
{
    std::vector<XmlNode> out;
    if (isNone())
        return out;
    for (pugi::xml_node c = raw().first_child(); c; c = c.next_sibling())
        out.push_back(XmlNode(m_holder, c));
    return out;
}

XmlNode XmlNode::child(std::string_view name) const
{
    if (isNone())
        return {};
    return XmlNode(m_holder, raw().child(std::string(name).c_str()));
}

XmlNode XmlNode::selectSingleNode(std::string_view xpath) const
{
    if (isNone())
        return {};
    const pugi::xpath_query query = compileXPath(xpath);
    const pugi::xpath_node found = raw().select_node(query);
    if (found.node())
        return XmlNode(m_holder, found.node());
    return {};
}

bool XmlNode::selectFirstText(std::string_view xpath, std::string& text, std::string& name) const
{
    if (isNone())
        return false;
    const pugi::xpath_query query = compileXPath(xpath);
    const pugi::xpath_node found = raw().select_node(query);
    if (found.node()) {
        const XmlNode node(m_holder, found.node());
        text = node.text();
        name = node.name();
        return true;
    }
    if (found.attribute()) {
        text = found.attribute().value();
        name = found.attribute().name();
        return true;
    }
    return false;
}

std::vector<XmlNode> XmlNode::selectNodes(std::string_view xpath) const
{
    std::vector<XmlNode> out;
    if (isNone())
        return out;
    const pugi::xpath_query query = compileXPath(xpath);
    pugi::xpath_node_set found = raw().select_nodes(query);
    found.sort();
    for (const pugi::xpath_node& n : found)
        if (n.node())
            out.push_back(XmlNode(m_holder, n.node()));
    return out;
}

XmlNode XmlNode::appendChild(const XmlNode& child)
{
    requireNode("appendChild");
    child.requireNode("appendChild");
    pugi::xml_node n = raw();
    const pugi::xml_node c = child.raw();
    if (child.m_holder == m_holder && !m_holder->detached) {
        pugi::xml_node moved = n.append_move(c);
        if (moved)
            return XmlNode(m_holder, moved);
    }
    pugi::xml_node copied = n.append_copy(c);
    if (!copied)
        raise(ErrorNumber::InvalidArgument, "XML node of this type cannot be inserted here");
    return XmlNode(m_holder, copied);
}

XmlNode XmlNode::insertBefore(const XmlNode& child, const XmlNode& reference)
{
    if (reference.isNone())
        return appendChild(child);
    requireNode("insertBefore");
    child.requireNode("insertBefore");
    if (reference.m_holder != m_holder || reference.raw().parent() != raw())
        raise(ErrorNumber::InvalidArgument, "The reference node is not a child of this node");
    pugi::xml_node n = raw();
    const pugi::xml_node c = child.raw();
    if (child.m_holder == m_holder && !m_holder->detached) {
        pugi::xml_node moved = n.insert_move_before(c, reference.raw());
        if (moved)
            return XmlNode(m_holder, moved);
    }
    pugi::xml_node copied = n.insert_copy_before(c, reference.raw());
    if (!copied)
        raise(ErrorNumber::InvalidArgument, "XML node of this type cannot be inserted here");
    return XmlNode(m_holder, copied);
}

XmlNode XmlNode::appendElement(std::string_view name)
{
    requireNode("appendElement");
    pugi::xml_node added = raw().append_child(std::string(name).c_str());
    if (!added)
        raise(ErrorNumber::InvalidArgument, "An element cannot be inserted here");
    return XmlNode(m_holder, added);
}

XmlNode XmlNode::appendText(std::string_view text)
{
    requireNode("appendText");
    pugi::xml_node added = raw().append_child(pugi::node_pcdata);
    if (!added)
        raise(ErrorNumber::InvalidArgument, "A text node cannot be inserted here");
    added.set_value(std::string(text).c_str());
    return XmlNode(m_holder, added);
}

XmlNode XmlNode::appendCData(std::string_view text)
{
    requireNode("appendCData");
    pugi::xml_node added = raw().append_child(pugi::node_cdata);
    if (!added)
        raise(ErrorNumber::InvalidArgument, "A CDATA section cannot be inserted here");
    added.set_value(std::string(text).c_str());
    return XmlNode(m_holder, added);
}

void XmlNode::removeChild(const XmlNode& child)
{
    requireNode("removeChild");
    if (child.isNone() || child.m_holder != m_holder || !removeSubtree(raw(), child.raw()))
        raise(ErrorNumber::InvalidArgument, "The node to remove is not a child of this node");
}

void XmlNode::removeChildren()
{
    requireNode("removeChildren");
    pugi::xml_node n = raw();
    while (pugi::xml_node c = n.first_child())
        removeSubtree(n, c);
}

XmlNode XmlNode::cloneDeep() const
{
    if (isNone())
        return {};
    auto holder = std::make_shared<Holder>();
    const pugi::xml_node n = raw();
    if (n.type() == pugi::node_document) {
        for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
            holder->document.append_copy(c);
        pugi::xml_node doc = holder->document;
        return XmlNode(holder, doc);
    }
    holder->detached = true;
    return XmlNode(holder, holder->document.append_copy(n));
}

std::string XmlNode::attribute(std::string_view name) const
{
    if (isNone())
        return {};
    return raw().attribute(std::string(name).c_str()).value();
}

void XmlNode::setAttribute(std::string_view name, std::string_view value)
{
    requireNode("setAttribute");
    const std::string key(name);
    pugi::xml_node n = raw();
    pugi::xml_attribute a = n.attribute(key.c_str());
    if (!a)
        a = n.append_attribute(key.c_str());
    a.set_value(std::string(value).c_str());
}

bool XmlNode::sameNode(const XmlNode& other) const
{
    return m_node == other.m_node;
}

} // namespace zel
