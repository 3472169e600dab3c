#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zel::script {

// The last error of a ScriptControl. Number 0 means none; the other fields are then empty or 0.
// Line and Column count from 1. Column counts UTF-16 code units from the start of the line, so that
// column 1 is the line's first character and an error at a line's end has the line length plus one
// (see SourcePosition.h). Text is the whole line of the added code holding the error.
struct ScriptError
{
    int32_t Number = 0;
    std::string Description;
    int32_t Line = 0;
    int32_t Column = 0;
    std::string Text;
    std::string Source;
};

// The script-engine host control: it takes VBScript or JScript code and keeps the last compile error.
// It parses and reports only; no code it is given ever runs.
//
// Each AddCode call is compiled as a unit of its own, as a script engine compiles each added
// block: line numbers count from that unit's first line, and names are checked for redefinition
// inside the unit only. A name that an earlier unit defined may be defined again later (the later
// definition would replace it), so checking the same script again and again keeps giving the same
// answer even though everything added stays in the engine.
class ScriptControl
{
public:
    // A control for VBScript, with no code and no error.
    ScriptControl();

    // "VBScript" or "JScript".
    const std::string& Language() const { return m_language; }

    // Chooses the language by name ("VBScript", "JScript" or "JavaScript", in any case) and starts
    // again with no code and no error, as the Windows control does. Returns false and changes nothing
    // for any other name, or for JScript when this build has no JScript front end.
    bool SetLanguage(std::string_view name);

    // Compiles code in the current language. On success the unit is kept, Error() is cleared and true
    // is returned; on a compile error nothing is kept, Error() describes the first error and false is
    // returned. Empty code compiles.
    bool AddCode(std::string_view code);

    // The error of the last AddCode, until ClearError() or the next AddCode.
    const ScriptError& Error() const { return m_error; }

    // Forgets the last error.
    void ClearError() { m_error = ScriptError{}; }

    // Forgets all added code and the last error; the language stays.
    void Reset();

    // How many units AddCode has kept since the language was last set or the control reset.
    std::size_t UnitCount() const { return m_units; }

private:
    std::string m_language;
    ScriptError m_error;
    std::size_t m_units = 0;
};

} // namespace zel::script
