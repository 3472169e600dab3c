// Decodes arbitrary bytes as an XML body received over HTTP, under a fuzzed Content-Type. A body
// that decodes to well-formed UTF-8 must carry a prolog that, if any, names UTF-8: decoding that
// result again must give it back unchanged.
#include "platform/http/XmlBodyText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Well-formed UTF-8: no stray continuation bytes, overlong forms, surrogates or values past U+10FFFF.
bool wellFormedUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80                 ? 1
                           : c >= 0xC2 && c <= 0xDF ? 2
                           : c >= 0xE0 && c <= 0xEF ? 3
                           : c >= 0xF0 && c <= 0xF4 ? 4
                                                    : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size())
            return false;
        const auto second = static_cast<unsigned char>(text[i + 1 < text.size() ? i + 1 : i]);
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) || (c == 0xF0 && second < 0x90) ||
            (c == 0xF4 && second > 0x8F))
            return false;
        for (int k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string contentType = input.ConsumeRandomLengthString(64);
    const std::string body = input.ConsumeRemainingBytesAsString();
    std::string error;
    const std::optional<std::string> text = zel::http::xmlBodyToUtf8(body, contentType, &error);
    if (!text) {
        if (error.empty()) {
            std::fprintf(stderr, "refused without a reason\n");
            std::abort();
        }
        return 0;
    }
    // Bytes labelled UTF-8 (by a mark, a charset, a prolog or nothing) are handed on as they
    // came, like the parser itself takes them; only a real conversion promises well-formed text.
    // A NUL is no XML character; with NULs between its first bytes a text reads as UTF-16. A
    // U+FEFF left at the start (the body held two marks) is a mark to any later reader.
    if (!wellFormedUtf8(*text) || text->find('\0') != std::string::npos || text->starts_with("\xEF\xBB\xBF"))
        return 0;
    const std::string declared = zel::http::declaredEncoding(*text);
    std::string again_error;
    const std::optional<std::string> again = zel::http::xmlBodyToUtf8(*text, {}, &again_error);
    if (!again || *again != *text) {
        std::fprintf(stderr, "decoded text (prolog names '%s') does not decode to itself: %s\n", declared.c_str(),
                     again_error.c_str());
        std::abort();
    }
    return 0;
}
