#include "platform/script/SourcePosition.h"
#include "platform/script/jscript/JScriptParser.h"
#include "platform/script/jscript/JScriptTestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zel::script::jscript {
namespace {

std::string withLineEnds(const std::string& text, std::string_view end)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\n' || text[i] == '\r')
            out += end;
        else
            out += text[i];
    }
    return out;
}

// The whole script compiles with every line-end style. Every prefix gets a verdict inside the text,
// so a cut in the middle of a construct must be found as an error or accepted, never crash.
TEST(JScriptCorpus, RealisticScriptsCompileWithEveryLineEndStyle_EveryPrefixGetsAVerdict)
{
    const auto files = zel::test::dataFiles("script/jscript/valid", "", ".js");
    ASSERT_GE(files.size(), 5u);
    for (const auto& path : files) {
        const std::string text = zel::test::readFile(path);
        const Diagnostic d = check(text);
        EXPECT_EQ(d.number, 0) << path.filename() << " line " << locate(text, d.offset, true).line << ": "
                               << description(d.number);
        for (const std::string_view end : {"\n", "\r\n", "\r", "\xE2\x80\xA8"})
            EXPECT_EQ(check(withLineEnds(text, end)).number, 0) << path.filename();
        std::size_t failures = 0;
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            const Diagnostic p = check(std::string_view(text.data(), cut));
            ASSERT_LE(p.offset, cut) << path.filename() << " cut at " << cut;
            failures += p.number != 0 ? 1 : 0;
            EXPECT_EQ(description(p.number).empty(), p.number == 0);
        }
        EXPECT_GT(failures, 0u) << path.filename();
    }
}

// Each error fixture starts with a line "// expect NUMBER line LINE".
TEST(JScriptCorpus, BrokenScriptsReportTheExpectedErrorAndLine)
{
    const auto files = zel::test::dataFiles("script/jscript/errors", "", ".js");
    ASSERT_GE(files.size(), 5u);
    for (const auto& path : files) {
        const std::string text = zel::test::readFile(path);
        int number = 0;
        int line = 0;
        ASSERT_EQ(std::sscanf(text.c_str(), "// expect %d line %d", &number, &line), 2) << path.filename();
        const Diagnostic d = check(text);
        EXPECT_EQ(d.number, number) << path.filename();
        EXPECT_EQ(locate(text, d.offset, true).line, line) << path.filename();
    }
}

} // namespace
} // namespace zel::script::jscript
