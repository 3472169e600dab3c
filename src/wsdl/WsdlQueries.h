#pragma once

#include "platform/xml/XmlNode.h"

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The query shapes and text rules the WSDL analyser is built on, kept in one place so the
// analyser's operations read like their description.
namespace zel::WsdlQueries {

// True when prefix can name a schema prefix: a non-empty XML name without blanks or colons.
// Anything else (" xsd", "", "x/s") never matches an element, whatever the XPath engine would
// make of the query.
bool isUsablePrefix(std::string_view prefix);

// text as an XPath string literal: in apostrophes, in quotes when it holds an apostrophe, and
// as concat() of both when it holds both, so that no name can break a query.
std::string xpathLiteral(std::string_view text);

// "//wsdl:types/P:schema/P:element[@name='M']/P:complexType/P:sequence"
std::string inputSequenceQuery(std::string_view prefix, std::string_view operation);
// "//wsdl:types/schema/element[@name='M']/complexType/sequence"
std::string inputSequenceQuery(std::string_view operation);
// "//wsdl:types/P:schema/P:element[@name='M' "Response"]/P:complexType/P:sequence/P:element"
std::string responseElementQuery(std::string_view prefix, std::string_view operation);

// The number of characters (code points) of a UTF-8 text.
std::size_t charCount(std::string_view text);
// text without its first count characters; "" when it has no more than count.
std::string dropChars(std::string_view text, std::size_t count);
// A type name without its prefix: everything through the first colon removed, whatever the
// prefix ("tns:AccountType" gives "AccountType" whichever schema prefix was matched); a name
// without a colon stays whole.
std::string stripPrefix(std::string_view typeName);

// Splits text at every comma; the pieces keep their blanks. "" gives one empty piece.
std::vector<std::string> splitCommas(std::string_view text);

// The answers of the response-element query for every operation of a document, built with one
// scan of the document per prefix, the first time a prefix is asked for. The document must not
// change while the index is in use.
class ResponseTypeIndex
{
public:
    explicit ResponseTypeIndex(XmlNode document);

    // The type attribute of the first element the response-element query selects for
    // (prefix, operation) ("" when that element has none); nullptr when it selects nothing or the
    // prefix is not usable.
    const std::string* responseType(std::string_view prefix, std::string_view operation);

private:
    using Types = std::unordered_map<std::string, std::string>; // wrapper name -> first type
    XmlNode m_document;
    std::map<std::string, Types, std::less<>> m_byPrefix;
};

} // namespace zel::WsdlQueries
