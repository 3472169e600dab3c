#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zel::http {

// Turns an XML body received over HTTP into UTF-8 text ready for the XML parser. The encoding is
// taken from a byte-order mark, else from the charset of contentType, else from the encoding
// declared in the XML prolog, else UTF-8. A charset that is unknown or that the bytes do not fit
// (UTF-8 on Latin-1 bytes, say) gives way to the prolog, and a prolog naming UTF-16 or UTF-32 on
// a text that starts with single-byte "<" is taken for UTF-8. The prolog of the result always
// names UTF-8, so that the parser does not decode it a second time. Returns nothing, with error
// filled, when the encoding the prolog names is unknown or the bytes do not fit it.
std::optional<std::string> xmlBodyToUtf8(std::string_view body, std::string_view contentType = {},
                                         std::string* error = nullptr);

// The encoding named by the charset parameter of a Content-Type value; "" when there is none.
std::string charsetOf(std::string_view contentType);

// The encoding named in the prolog of an XML text in an ASCII-compatible encoding; "" when none.
std::string declaredEncoding(std::string_view text);

} // namespace zel::http
