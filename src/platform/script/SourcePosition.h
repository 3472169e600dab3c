#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zel::script {

// Where a byte offset lies in a script text, as the host control reports it: Line counts from 1;
// Column counts from 1 and advances by one per UTF-16 code unit (a character outside the Basic
// Multilingual Plane counts two, a byte that is not valid UTF-8 counts one), so that it matches a
// caret position in the editor's line. LineText is the whole line holding the offset, without its
// line end.
struct SourcePosition
{
    int32_t line = 1;
    int32_t column = 1;
    std::string_view lineText;
};

// Locates offset in text. CR LF, LF and a lone CR each end a line; with unicodeLineEnds also U+2028
// and U+2029 (JScript counts them). An offset past the end is taken as the end of the text; an offset
// inside a CR LF pair is taken as the CR.
SourcePosition locate(std::string_view text, std::size_t offset, bool unicodeLineEnds = false);

} // namespace zel::script
