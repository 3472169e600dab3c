#include "platform/http/XmlBodyText.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace zel::http {

namespace {

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

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

// Rewrites the value of encoding="..." in the prolog of a UTF-8 text.
void declareUtf8(std::string& text)
{
    std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    if (text.compare(start, 5, "<?xml") != 0)
        return;
    const std::size_t end = text.find("?>", start);
    if (end == std::string::npos)
        return;
    const std::size_t key = text.find("encoding", start);
    if (key == std::string::npos || key > end)
        return;
    std::size_t quote = text.find_first_of("\"'", key);
    if (quote == std::string::npos || quote > end)
        return;
    const std::size_t close = text.find(text[quote], quote + 1);
    if (close == std::string::npos || close > end)
        return;
    text.replace(quote + 1, close - quote - 1, "UTF-8");
}

} // namespace

std::string charsetOf(std::string_view contentType)
{
    const std::string value = lower(contentType);
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
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (!text.starts_with("<?xml"))
        return {};
    const std::size_t end = text.find("?>");
    const std::string_view prolog = text.substr(0, end == std::string_view::npos ? text.size() : end);
    const std::size_t key = prolog.find("encoding");
    if (key == std::string_view::npos)
        return {};
    const std::size_t quote = prolog.find_first_of("\"'", key);
    if (quote == std::string_view::npos)
        return {};
    const std::size_t close = prolog.find(prolog[quote], quote + 1);
    if (close == std::string_view::npos)
        return {};
    return lower(prolog.substr(quote + 1, close - quote - 1));
}

std::optional<std::string> xmlBodyToUtf8(std::string_view body, std::string_view contentType, std::string* error)
{
    std::string from;
    if (body.starts_with("\xEF\xBB\xBF"))
        from = "utf-8";
    else if (body.starts_with(std::string_view("\xFF\xFE\x00\x00", 4)) ||
             body.starts_with(std::string_view("\x00\x00\xFE\xFF", 4)))
        from = "utf-32";
    else if (body.starts_with("\xFF\xFE") || body.starts_with("\xFE\xFF"))
        from = "utf-16";
    else if (body.starts_with(std::string_view("\x3C\x00\x3F\x00", 4)))
        from = "utf-16le";
    else if (body.starts_with(std::string_view("\x00\x3C\x00\x3F", 4)))
        from = "utf-16be";
    if (from.empty())
        from = charsetOf(contentType);
    if (from.empty())
        from = declaredEncoding(body);
    if (isUtf8Name(from))
        return std::string(body);
    std::optional<std::string> text;
    if (from == "iso-8859-1" || from == "latin1" || from == "latin-1") {
        // What most servers mean by it is windows-1252, which differs only in 0x80-0x9F; the
        // few bytes windows-1252 leaves undefined fall back to plain Latin-1.
        text = convert(body, "WINDOWS-1252", nullptr);
        if (!text)
            from = "ISO-8859-1";
    }
    if (!text)
        text = convert(body, from, error);
    if (!text)
        return std::nullopt;
    if (text->starts_with("\xEF\xBB\xBF"))
        text->erase(0, 3);
    declareUtf8(*text);
    return text;
}

} // namespace zel::http
