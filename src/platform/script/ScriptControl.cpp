#include "platform/script/ScriptControl.h"

#include "platform/script/SourcePosition.h"
#include "platform/script/jscript/JScriptParser.h"
#include "platform/script/vbscript/VBScriptParser.h"
#include "platform/text/Text.h"

namespace zel::script {

namespace {

constexpr std::string_view kVBScript = "VBScript";
constexpr std::string_view kJScript = "JScript";

} // namespace

ScriptControl::ScriptControl() : m_language(kVBScript) {}

bool ScriptControl::SetLanguage(std::string_view name)
{
    if (Text::equalsIgnoringAsciiCase(name, kVBScript)) {
        m_language = kVBScript;
    } else if (Text::equalsIgnoringAsciiCase(name, kJScript) || Text::equalsIgnoringAsciiCase(name, "JavaScript")) {
        m_language = kJScript;
    } else {
        return false;
    }
    Reset();
    return true;
}

void ScriptControl::Reset()
{
    m_units = 0;
    ClearError();
}

bool ScriptControl::AddCode(std::string_view code)
{
    ClearError();
    const bool jscript = m_language == kJScript;
    Diagnostic verdict;
    std::string_view description;
    if (jscript) {
        verdict = jscript::check(code);
        if (!verdict.ok())
            description = jscript::description(verdict.number);
    } else {
        verdict = vbscript::check(code);
        if (!verdict.ok())
            description = vbscript::description(verdict.number);
    }
    if (verdict.ok()) {
        ++m_units;
        return true;
    }
    SourcePosition where = locate(code, verdict.offset, jscript);
    m_error.Number = verdict.number;
    m_error.Description = std::string(description);
    m_error.Line = where.line;
    m_error.Column = where.column;
    m_error.Text = std::string(where.lineText);
    m_error.Source = jscript ? "JScript compilation error" : "VBScript compilation error";
    return false;
}

} // namespace zel::script
