#include "wsdl/WsdlQueries.h"

namespace zel::WsdlQueries {

namespace {

bool isNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool isNameChar(unsigned char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

} // namespace

bool isUsablePrefix(std::string_view prefix)
{
    if (prefix.empty() || !isNameStart(static_cast<unsigned char>(prefix.front())))
        return false;
    for (const char c : prefix)
        if (!isNameChar(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::string xpathLiteral(std::string_view text)
{
    if (text.find('\'') == std::string_view::npos)
        return "'" + std::string(text) + "'";
    if (text.find('"') == std::string_view::npos)
        return "\"" + std::string(text) + "\"";
    std::string out = "concat(";
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t quote = text.find('\'', start);
        if (quote == std::string_view::npos) {
            out += "'" + std::string(text.substr(start)) + "',";
            break;
        }
        if (quote > start)
            out += "'" + std::string(text.substr(start, quote - start)) + "',";
        out += "\"'\",";
        start = quote + 1;
    }
    out.back() = ')';
    return out;
}

std::string inputSequenceQuery(std::string_view prefix, std::string_view operation)
{
    const std::string p(prefix);
    return "//wsdl:types/" + p + ":schema/" + p + ":element[@name=" + xpathLiteral(operation) + "]/" + p +
           ":complexType/" + p + ":sequence";
}

std::string inputSequenceQuery(std::string_view operation)
{
    return "//wsdl:types/schema/element[@name=" + xpathLiteral(operation) + "]/complexType/sequence";
}

std::string responseElementQuery(std::string_view prefix, std::string_view operation)
{
    const std::string p(prefix);
    return "//wsdl:types/" + p + ":schema/" + p +
           ":element[@name=" + xpathLiteral(std::string(operation) + "Response") + "]/" + p + ":complexType/" + p +
           ":sequence/" + p + ":element";
}

std::size_t charCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

std::string dropChars(std::string_view text, std::size_t count)
{
    std::size_t pos = 0;
    while (count > 0 && pos < text.size()) {
        ++pos;
        while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80)
            ++pos;
        --count;
    }
    return std::string(text.substr(pos));
}

std::string stripPrefix(std::string_view typeName)
{
    const std::size_t colon = typeName.find(':');
    return std::string(colon == std::string_view::npos ? typeName : typeName.substr(colon + 1));
}

std::vector<std::string> splitCommas(std::string_view text)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

ResponseTypeIndex::ResponseTypeIndex(XmlNode document) : m_document(std::move(document)) {}

const std::string* ResponseTypeIndex::responseType(std::string_view prefix, std::string_view operation)
{
    if (!isUsablePrefix(prefix) || m_document.isNone())
        return nullptr;
    auto found = m_byPrefix.find(prefix);
    if (found == m_byPrefix.end()) {
        // One scan answers the query for every operation name at once: the query without its
        // name predicate selects, in document order, every candidate; the predicate only looks at
        // the wrapper element three levels up, so the first candidate per wrapper name is the
        // answer of the query with the predicate.
        const std::string p(prefix);
        const std::string all = "//wsdl:types/" + p + ":schema/" + p + ":element[@name]/" + p + ":complexType/" + p +
                                ":sequence/" + p + ":element";
        Types types;
        for (const XmlNode& element : m_document.selectNodes(all)) {
            const XmlNode wrapper = element.parent().parent().parent();
            types.try_emplace(wrapper.attribute("name"), element.attribute("type"));
        }
        found = m_byPrefix.emplace(p, std::move(types)).first;
    }
    const auto type = found->second.find(std::string(operation) + "Response");
    return type == found->second.end() ? nullptr : &type->second;
}

} // namespace zel::WsdlQueries
