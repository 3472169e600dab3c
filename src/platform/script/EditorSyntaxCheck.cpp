#include "platform/script/EditorSyntaxCheck.h"

namespace zel::script {

bool checkScriptSyntax(ScriptControl& control, const std::string& scriptText, std::string& message)
{
    // 1. No error of an earlier check may decide this one.
    control.ClearError();
    // 2.
    bool result = true;
    // 3. Under JScript the VBScript placeholder would be refused, so JScript gets its own.
    control.AddCode(control.Language() == "JScript" ? kDataRiverPlaceholderJScript : kDataRiverPlaceholder);
    // 4.
    control.AddCode(scriptText);
    // 5.
    const ScriptError& error = control.Error();
    if (error.Number != 0) {
        result = false;
        message = "Error.\r\nNumber: " + std::to_string(error.Number) + "\r\nDesc: " + error.Description +
                  "\r\nColumn: " + std::to_string(error.Column) + "\r\nLine: " + std::to_string(error.Line) +
                  "\r\nText: " + error.Text + "\r\nSource: " + error.Source;
    }
    // 6.
    return result;
}

} // namespace zel::script
