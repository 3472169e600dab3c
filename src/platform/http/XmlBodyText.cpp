#include "platform/http/XmlBodyText.h"

#include "platform/text/Text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace zel::http {

namespace {

bool isUtf8Name(const std::string& name)
{
    return name.empty() || name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii";
}

std::optional<std::string> convert(std::string_view bytes, const std::string& from, std::string* error)
{
    iconv_t cd = iconv_open("UTF-8", from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (error != nullptr)
            *error = "The encoding '" + from + "' is not supported";
        return std::nullopt;
    }
    std::string out;
    out.resize(bytes.size() * 2 + 16);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t written = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        written = out.size() - outLeft;
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            iconv_close(cd);
            if (error != nullptr)
                *error = "The text does not fit its encoding '" + from + "'";
            return std::nullopt;
        }
    }
    iconv_close(cd);
    out.resize(written);
    return out;
}

// Where the value of encoding="..." stands in the prolog of a text in an ASCII-compatible
// encoding: its first byte and its length. The prolog runs to "?>", or to the end of a text that
// never closes it. Nothing when there is no prolog or no quoted encoding in it.
std::optional<std::pair<std::size_t, std::size_t>> encodingValue(std::string_view text)
{
    const std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    if (text.substr(start, 5) != "<?xml")
        return std::nullopt;
    const std::string_view prolog = text.substr(0, text.find("?>", start));
    const std::size_t key = prolog.find("encoding", start);
    if (key == std::string_view::npos)
        return std::nullopt;
    const std::size_t quote = prolog.find_first_of("\"'", key);
    if (quote == std::string_view::npos)
        return std::nullopt;
    const std::size_t close = prolog.find(prolog[quote], quote + 1);
    if (close == std::string_view::npos)
        return std::nullopt;
    return std::pair(quote + 1, close - quote - 1);
}

// Rewrites the value of encoding="..." in the prolog of a UTF-8 text: the same value
// declaredEncoding reads.
void declareUtf8(std::string& text)
{
    if (const auto value = encodingValue(text))
        text.replace(value->first, value->second, "UTF-8");
}

// True for the encodings whose characters take two or four bytes each.
bool isWide(const std::string& name)
{
    return name.starts_with("utf-16") || name.starts_with("utf-32") || name.starts_with("ucs-2") ||
           name.starts_with("ucs-4") || name == "unicode" || name == "utf16" || name == "utf32";
}

// True when the text starts with "<" followed by a byte that is not zero: an ASCII-compatible
// encoding, whatever its prolog says.
bool looksSingleByte(std::string_view body)
{
    return body.size() >= 2 && body[0] == '<' && body[1] != '\0';
}

// body decoded from the named encoding into UTF-8 text whose prolog says UTF-8; nothing, with
// error filled, when the encoding is unknown or the bytes do not fit it.
std::optional<std::string> decodeAs(std::string_view body, std::string from, std::string* error)
{
    std::optional<std::string> text;
    if (isUtf8Name(from)) {
        text = std::string(body);
    } else if (from == "iso-8859-1" || from == "latin1" || from == "latin-1") {
        // What most servers mean by it is windows-1252, which differs only in 0x80-0x9F; the
        // few bytes windows-1252 leaves undefined fall back to plain Latin-1.
        text = convert(body, "WINDOWS-1252", nullptr);
        if (!text)
            text = convert(body, "ISO-8859-1", error);
    } else {
        text = convert(body, from, error);
    }
    if (!text)
        return std::nullopt;
    if (text->starts_with("\xEF\xBB\xBF"))
        text->erase(0, 3);
    // The parser honours the prolog: left alone, a prolog naming another encoding would make it
    // decode the UTF-8 text a second time.
    if (!isUtf8Name(from) || !isUtf8Name(declaredEncoding(*text)))
        declareUtf8(*text);
    return text;
}

} // namespace

std::string charsetOf(std::string_view contentType)
{
    const std::string value = Text::lowerAscii(contentType);
    std::size_t pos = value.find("charset");
    if (pos == std::string::npos)
        return {};
    pos = value.find('=', pos);
    if (pos == std::string::npos)
        return {};
    ++pos;
    while (pos < value.size() && (value[pos] == ' ' || value[pos] == '"' || value[pos] == '\''))
        ++pos;
    std::size_t end = pos;
    while (end < value.size() && value[end] != ';' && value[end] != ' ' && value[end] != '"' && value[end] != '\'')
        ++end;
    return value.substr(pos, end - pos);
}

std::string declaredEncoding(std::string_view text)
{
    const auto value = encodingValue(text);
    return value ? Text::lowerAscii(text.substr(value->first, value->second)) : std::string();
}

std::optional<std::string> xmlBodyToUtf8(std::string_view body, std::string_view contentType, std::string* error)
{
    // A byte-order mark is the most reliable sign and is never second-guessed.
    std::string fromBom;
    if (body.starts_with("\xEF\xBB\xBF"))
        fromBom = "utf-8";
    else if (body.starts_with(std::string_view("\xFF\xFE\x00\x00", 4)) ||
             body.starts_with(std::string_view("\x00\x00\xFE\xFF", 4)))
        fromBom = "utf-32";
    else if (body.starts_with("\xFF\xFE") || body.starts_with("\xFE\xFF"))
        fromBom = "utf-16";
    else if (body.starts_with(std::string_view("\x3C\x00\x3F\x00", 4)))
        fromBom = "utf-16le";
    else if (body.starts_with(std::string_view("\x00\x3C\x00\x3F", 4)))
        fromBom = "utf-16be";
    if (!fromBom.empty())
        return decodeAs(body, fromBom, error);

    // Servers often get the charset wrong: an unknown label, or one the bytes do not fit, gives way
    // to the prolog instead of making a readable WSDL unreadable.
    const std::string charset = charsetOf(contentType);
    if (!charset.empty() && !(isWide(charset) && looksSingleByte(body))) {
        if (isUtf8Name(charset) ? Text::isValidUtf8(body) : true) {
            if (std::optional<std::string> text = decodeAs(body, charset, nullptr))
                return text;
        }
    }
    // A prolog naming UTF-16 or UTF-32 in a text that visibly is not (it starts with "<?" in single
    // bytes) was written by a tool that saved the text differently from what it declared.
    std::string declared = declaredEncoding(body);
    if (isWide(declared) && looksSingleByte(body))
        declared.clear();
    return decodeAs(body, declared.empty() ? std::string("utf-8") : declared, error);
}

} // namespace zel::http
