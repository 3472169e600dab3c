#include "platform/script/EditorSyntaxCheck.h"

namespace zel::script {

bool checkScriptSyntax(ScriptControl& control, const std::string& scriptText, std::string& message)
{
    // No error of an earlier check may decide this one.
    control.ClearError();
    bool result = true;
    // The placeholder declares DataRiver, which every activity script may call. Under JScript the
    // VBScript placeholder would be refused, so JScript gets its own.
    control.AddCode(control.Language() == "JScript" ? kDataRiverPlaceholderJScript : kDataRiverPlaceholder);
    control.AddCode(scriptText);
    const ScriptError& error = control.Error();
    if (error.Number != 0) {
        result = false;
        message = "Error.\r\nNumber: " + std::to_string(error.Number) + "\r\nDesc: " + error.Description +
                  "\r\nColumn: " + std::to_string(error.Column) + "\r\nLine: " + std::to_string(error.Line) +
                  "\r\nText: " + error.Text + "\r\nSource: " + error.Source;
    }
    return result;
}

} // namespace zel::script
