#pragma once

#include "platform/script/jscript/JScriptParser.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace zel::script::jscript::test {

// Marks the expected error offset inside a source row; it is removed before the check.
inline constexpr std::string_view kMark = "\xC2\xA7"; // "§"

// The source without its mark, and the mark's offset (npos when there is none).
inline std::pair<std::string, std::size_t> unmark(std::string_view text)
{
    const std::size_t at = text.find(kMark);
    if (at == std::string_view::npos)
        return {std::string(text), at};
    return {std::string(text.substr(0, at)).append(text.substr(at + kMark.size())), at};
}

// One row of a verdict table: the source ("§" marks where the error is expected) and the error number.
struct Row
{
    std::string_view source;
    int32_t number;
};

// Checks each row's number, that an error number has a description and, where the source holds a
// mark, the offset of the error.
template <std::size_t N> void expectRows(const Row (&rows)[N])
{
    for (std::size_t i = 0; i < N; ++i) {
        const auto [source, offset] = unmark(rows[i].source);
        const Diagnostic d = check(source);
        SCOPED_TRACE(::testing::Message() << "row " << i << ": " << rows[i].source);
        EXPECT_EQ(d.number, rows[i].number);
        EXPECT_EQ(description(rows[i].number).empty(), rows[i].number == 0);
        if (offset != std::string_view::npos) {
            EXPECT_EQ(d.offset, offset);
        }
    }
}

} // namespace zel::script::jscript::test
