#include "platform/text/Text.h"

#include <gtest/gtest.h>

namespace zel::Text {
namespace {

struct Utf8Case
{
    const char* bytes;
    char32_t codePoint; // 0: malformed
    std::size_t length;
};

// Well-formed sequences of every length, and each way a sequence can be malformed: the decoder
// must refuse exactly these and consume the longest prefix that could have begun a sequence.
const Utf8Case kUtf8[] = {
    {"A", U'A', 1},
    {"\xC3\xA9", 0xE9, 2},
    {"\xE2\x82\xAC", 0x20AC, 3},
    {"\xF0\x9F\x98\x80", 0x1F600, 4},
    {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4},
    {"\x80", 0, 1},             // continuation byte without a lead
    {"\xC0\xAF", 0, 1},         // overlong two-byte form
    {"\xE0\x80\xAF", 0, 1},     // overlong three-byte form
    {"\xED\xA0\x80", 0, 1},     // surrogate
    {"\xF4\x90\x80\x80", 0, 1}, // above U+10FFFF
    {"\xF5\x80\x80\x80", 0, 1}, // lead byte that never begins a sequence
    {"\xE2\x82", 0, 2},         // cut short at the end
    {"\xE2\x82"
     "A",
     0, 2}, // cut short by an ASCII letter
};

TEST(Text, Utf8DecodesWellFormedSequencesAndRefusesEveryMalformedOne_AsciiCaseLeavesOtherBytesAlone)
{
    for (const Utf8Case& c : kUtf8) {
        const std::string_view bytes(c.bytes);
        std::size_t length = 0;
        const std::optional<char32_t> decoded = decodeUtf8(bytes, 0, length);
        EXPECT_EQ(decoded.value_or(0), c.codePoint) << bytes;
        EXPECT_EQ(length, c.length) << bytes;
        EXPECT_EQ(isValidUtf8(bytes), c.codePoint != 0 && length == bytes.size()) << bytes;
        if (c.codePoint != 0) {
            std::string encoded;
            appendUtf8(encoded, c.codePoint);
            EXPECT_EQ(encoded, bytes);
        }
    }
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_FALSE(isValidUtf8("caf\xC3\xA9\xC3"));
    // ASCII case folding leaves every other byte alone.
    EXPECT_EQ(lowerAscii("Content-TYPE: \xC3\x80Z"), "content-type: \xC3\x80z");
    EXPECT_TRUE(equalsIgnoringAsciiCase("SOAPAction", "soapaction"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("\xC3\x80", "\xC3\xA0")); // no case outside ASCII
    EXPECT_FALSE(equalsIgnoringAsciiCase("soap", "soapaction"));
}

} // namespace
} // namespace zel::Text
