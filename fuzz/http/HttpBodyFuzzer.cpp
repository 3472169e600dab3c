// Decodes arbitrary bytes as an XML body received over HTTP, under a fuzzed Content-Type. A body
// that decodes must give UTF-8 whose prolog, if any, names UTF-8: decoding that result again must
// give it back unchanged.
#include "platform/http/XmlBodyText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

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
