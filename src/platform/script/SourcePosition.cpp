#include "platform/script/SourcePosition.h"

#include "platform/text/Text.h"

#include <optional>

namespace zel::script {

namespace {

// Length of the line end starting at pos, or 0 when none starts there.
std::size_t lineEndAt(std::string_view text, std::size_t pos, bool unicodeLineEnds)
{
    char c = text[pos];
    if (c == '\n')
        return 1;
    if (c == '\r')
        return pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
    if (unicodeLineEnds && c == '\xE2' && pos + 2 < text.size() && text[pos + 1] == '\x80' &&
        (text[pos + 2] == '\xA8' || text[pos + 2] == '\xA9'))
        return 3;
    return 0;
}

} // namespace

SourcePosition locate(std::string_view text, std::size_t offset, bool unicodeLineEnds)
{
    if (offset > text.size())
        offset = text.size();
    SourcePosition result;
    std::size_t lineStart = 0;
    for (std::size_t pos = 0; pos < offset;) {
        std::size_t end = lineEndAt(text, pos, unicodeLineEnds);
        if (end == 0) {
            ++pos;
            continue;
        }
        if (pos + end > offset)
            break;
        pos += end;
        lineStart = pos;
        ++result.line;
    }
    std::size_t lineEnd = lineStart;
    while (lineEnd < text.size() && lineEndAt(text, lineEnd, unicodeLineEnds) == 0)
        ++lineEnd;
    if (offset > lineEnd)
        offset = lineEnd;
    result.lineText = text.substr(lineStart, lineEnd - lineStart);

    int32_t units = 0;
    for (std::size_t pos = lineStart; pos < offset;) {
        std::size_t len = 0;
        const std::optional<char32_t> cp = Text::decodeUtf8(text, pos, len);
        if (!cp || pos + len > offset) {
            ++units;
            ++pos;
            continue;
        }
        units += *cp >= 0x10000 ? 2 : 1;
        pos += len;
    }
    result.column = units + 1;
    return result;
}

} // namespace zel::script
