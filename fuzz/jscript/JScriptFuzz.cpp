#include "platform/script/jscript/JScriptParser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Every input gets a verdict inside the text, and every error it reports has a description.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    const zel::script::Diagnostic d = zel::script::jscript::check(source);
    if (d.offset > size)
        __builtin_trap();
    if (d.number != 0 && zel::script::jscript::description(d.number).empty())
        __builtin_trap();
    return 0;
}
