#include "platform/http/XmlBodyText.h"

#include <gtest/gtest.h>

#include <tuple>

using zel::http::xmlBodyToUtf8;

TEST(XmlBodyText, Encodings_AreConvertedToUtf8AndTheDeclarationFollows_UnknownOnesGiveAReason)
{
    const std::string utf16le("\xFF\xFE<\0a\0>\0\xE9\0<\0/\0a\0>\0", 18);
    // what, body, Content-Type, the text
    const std::tuple<const char*, std::string, std::string, std::string> cases[] = {
        {"UTF-8 untouched", "<?xml version=\"1.0\" encoding=\"utf-8\"?><a>\xC3\xA9</a>", "",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?><a>\xC3\xA9</a>"},
        {"Latin-1 prolog", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>", "",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>"},
        {"windows-1252 prolog", "<?xml version='1.0' encoding='windows-1252'?><a>\x80</a>", "",
         "<?xml version='1.0' encoding='UTF-8'?><a>\xE2\x82\xAC</a>"},
        {"charset wins over prolog", "<?xml version=\"1.0\" encoding=\"utf-8\"?><a>\xE9</a>",
         "text/xml; charset=ISO-8859-1", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>"},
        {"UTF-16 with BOM", utf16le, "", "<a>\xC3\xA9</a>"},
        {"no declaration, no charset", "<a>plain</a>", "text/xml", "<a>plain</a>"},
        {"UTF-8 charset on UTF-8 bytes beats a Latin-1 prolog",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xC3\xB3</a>", "text/xml; charset=utf-8",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xB3</a>"},
        {"UTF-8 charset on Latin-1 bytes gives way to the prolog",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xF3</a>", "text/xml; charset=utf-8",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xB3</a>"},
        {"UTF-8 charset on Latin-1 bytes that read as an overlong form gives way to the prolog",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE0\x80\xAF</a>", "text/xml; charset=utf-8",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA0\xE2\x82\xAC\xC2\xAF</a>"},
        {"unknown charset label gives way to the prolog", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xF3</a>",
         "text/xml;charset=ISO8859_1", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xB3</a>"},
        {"UTF-16 prolog on single-byte text", "<?xml version=\"1.0\" encoding=\"utf-16\"?><a>\xC3\xB3</a>", "",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xB3</a>"},
        {"UTF-16 charset on single-byte text", "<a>\xC3\xB3</a>", "text/xml; charset=utf-16", "<a>\xC3\xB3</a>"},
        // Decoded once, such a text would otherwise be decoded again by whoever reads the prolog.
        {"prolog never closed", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"\xE9<a/>", "",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"\xC3\xA9<a/>"},
    };
    for (const auto& [what, body, contentType, expected] : cases) {
        const auto text = xmlBodyToUtf8(body, contentType);
        ASSERT_TRUE(text.has_value()) << what;
        EXPECT_EQ(*text, expected) << what;
    }
    // An unknown encoding or bytes the declared one cannot hold give nothing, with a reason.
    for (const std::string& body : {std::string("<?xml version=\"1.0\" encoding=\"x-no-such\"?><a/>"),
                                    std::string("<?xml version=\"1.0\" encoding=\"euc-jp\"?><a>\xFF\xFE</a>")}) {
        std::string error;
        EXPECT_FALSE(xmlBodyToUtf8(body, "", &error).has_value()) << body;
        EXPECT_FALSE(error.empty());
    }
}
