#pragma once

#include "platform/script/SourcePosition.h"
#include "platform/script/vbscript/VBScriptParser.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace zel::script::test {

// One row of a syntax table: the source, the expected error number (0 = compiles) and, for an error,
// the line and column where it is reported (column 0 = not checked).
struct SyntaxRow
{
    std::string_view source;
    int32_t number;
    int32_t line = 1;
    int32_t column = 0;
};

inline void checkSyntax(const SyntaxRow& row)
{
    Diagnostic verdict = vbscript::check(row.source);
    SCOPED_TRACE(::testing::Message() << "source: " << row.source);
    EXPECT_EQ(verdict.number, row.number) << vbscript::description(verdict.number);
    if (row.number == 0 || verdict.number != row.number)
        return;
    SourcePosition where = locate(row.source, verdict.offset);
    EXPECT_EQ(where.line, row.line);
    if (row.column != 0) {
        EXPECT_EQ(where.column, row.column);
    }
}

using zel::test::dataFiles;
using zel::test::readFile;
using zel::test::repeat;

} // namespace zel::script::test
