#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
class xml_node;
}

namespace zel {

enum class XmlNodeType
{
    None,
    Element,
    Text,
    CData,
    Comment,
    ProcessingInstruction,
    Document,
};

// Why a text or file did not parse: a number (the parser's error code), a reason, and where.
struct XmlParseError
{
    int32_t number = 0;
    std::string reason;
    int line = 0;   // 1-based; 0 when the failure has no place (file not found)
    int column = 0; // 1-based, counted in bytes of the line
    std::size_t offset = 0;
};

// A character that XML cannot hold in text, and the line (1-based, counted by line feeds) where
// it stands.
struct UnstorableCharacter
{
    int line = 0;
    char32_t codePoint = 0;
};

// The first character of a UTF-8 text that no XML document can hold, raw or as a reference: a
// control character other than tab, line feed and carriage return (NUL included), U+FFFE or
// U+FFFF. Nothing when the whole text can be stored.
std::optional<UnstorableCharacter> findUnstorableCharacter(std::string_view text);

// A handle to a node of an XML document. Handles share ownership of their document, so a node
// stays valid as long as a handle to it (or to any node of its document) exists and the node is
// not removed from its document. The empty handle is "none": every query on it answers empty.
// Element names and XPath steps are matched as written, prefix included ("s:element" matches
// only an element whose name is spelled "s:element").
class XmlNode
{
public:
    XmlNode();
    ~XmlNode();
    XmlNode(const XmlNode&);
    XmlNode& operator=(const XmlNode&);
    XmlNode(XmlNode&&) noexcept;
    XmlNode& operator=(XmlNode&&) noexcept;

    // A new, empty document node.
    static XmlNode newDocument();
    // A new element with that name, detached (it belongs to a document of its own).
    static XmlNode newElement(std::string_view name);
    // A new CDATA section holding text, detached.
    static XmlNode newCData(std::string_view text);

    // How parse reads a text. AsWritten is for documents given back to their owner: a
    // whitespace-only value stays, the DOCTYPE declaration stays a node of the document, and
    // references to entities it declares are written back as references by xml().
    enum class Mode
    {
        Plain,
        AsWritten,
    };

    // Parses text into a new document; returns the document node, or none with error filled.
    // Entities are never expanded and nothing is fetched; in Plain mode DOCTYPE declarations are
    // skipped.
    static XmlNode parse(std::string_view text, XmlParseError* error = nullptr, Mode mode = Mode::Plain);
    // Loads and parses a file into a new document; none with error filled when it cannot.
    static XmlNode load(const std::filesystem::path& path, XmlParseError* error = nullptr);

    bool isNone() const;
    explicit operator bool() const { return !isNone(); }
    XmlNodeType type() const;

    // The node's name as written ("s:element"); "" for none, text, CDATA and document nodes.
    std::string name() const;
    // The name without its prefix ("element" for "s:element").
    std::string baseName() const;
    // The value of a text, CDATA, comment or instruction node; "" for others.
    std::string value() const;

    // The text content: all text and CDATA below the node, concatenated exactly as stored
    // (no whitespace normalisation). "" for none.
    std::string text() const;
    // Removes every child and, when text is not empty, adds one text node holding it.
    void setText(std::string_view text);
    // Renames an element.
    void setName(std::string_view name);

    // The node serialised as XML, without an XML declaration and without added formatting.
    // For a document node, its children. "" for none.
    std::string xml() const;

    // The parent node; none for none, for a document, and for a detached node.
    XmlNode parent() const;
    // The document node of this node's document; none for none and for detached nodes.
    XmlNode ownerDocument() const;
    // The root element of a document node (or of the document of any node); none if absent.
    XmlNode documentElement() const;
    XmlNode firstChild() const;
    XmlNode nextSibling() const;
    std::vector<XmlNode> children() const;
    // The first child element with exactly that name; none if absent.
    XmlNode child(std::string_view name) const;

    // The first node that xpath selects relative to this node, or none. Throws an error record
    // for an XPath expression that does not compile.
    XmlNode selectSingleNode(std::string_view xpath) const;
    // The text content and the name of the first node or attribute that xpath selects relative to
    // this node (an attribute answers its value). False, with both left alone, when nothing is
    // selected. Throws like selectSingleNode.
    bool selectFirstText(std::string_view xpath, std::string& text, std::string& name) const;
    // Every node that xpath selects relative to this node, in document order.
    std::vector<XmlNode> selectNodes(std::string_view xpath) const;

    // Appends child as the last child and returns the handle of the appended node. A detached
    // node, or a node of another document, is copied with its subtree (the caller's handle keeps
    // referring to the original); a node of this document is moved. Throws on none.
    XmlNode appendChild(const XmlNode& child);
    // Appends a new element, text node or CDATA section and returns it. Throws on none.
    XmlNode appendElement(std::string_view name);
    XmlNode appendText(std::string_view text);
    XmlNode appendCData(std::string_view text);
    // Inserts child before reference (a child of this node; none appends), with the same copy
    // rules as appendChild, and returns the handle of the inserted node.
    XmlNode insertBefore(const XmlNode& child, const XmlNode& reference);
    // Removes child (with its subtree) from this node; handles to it become invalid.
    void removeChild(const XmlNode& child);
    void removeChildren();

    // A deep copy of the node and its subtree, detached from any parent.
    XmlNode cloneDeep() const;

    // Attribute access; "" when the attribute is absent.
    std::string attribute(std::string_view name) const;
    void setAttribute(std::string_view name, std::string_view value);

    // True when both handles refer to the same node of the same document (two nones are equal).
    bool sameNode(const XmlNode& other) const;

private:
    struct Holder;
    XmlNode(std::shared_ptr<Holder> holder, const pugi::xml_node& node);
    pugi::xml_node raw() const;
    void requireNode(const char* operation) const;

    std::shared_ptr<Holder> m_holder;
    // pugi::xml_node is one pointer; stored as such so the header needs no pugixml include.
    void* m_node = nullptr;
};

} // namespace zel
