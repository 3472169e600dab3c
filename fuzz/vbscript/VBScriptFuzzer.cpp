// Any bytes must get a verdict: a pass, or an error with a published text, a line and column inside
// the text, and the text of that line.
#include "platform/script/ScriptControl.h"
#include "platform/script/vbscript/VBScriptParser.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    zel::script::Diagnostic verdict = zel::script::vbscript::check(text);
    if (!verdict.ok() && (verdict.offset > size || zel::script::vbscript::description(verdict.number).empty()))
        std::abort();

    zel::script::ScriptControl control;
    bool passed = control.AddCode(text);
    if (passed != verdict.ok())
        std::abort();
    if (!passed) {
        const zel::script::ScriptError& error = control.Error();
        if (error.Line < 1 || error.Column < 1 || error.Text.size() > size || error.Number != verdict.number)
            std::abort();
    }
    return 0;
}
