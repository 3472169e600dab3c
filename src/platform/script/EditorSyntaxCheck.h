#pragma once

#include "platform/script/ScriptControl.h"

#include <string>
#include <string_view>

namespace zel::script {

// The placeholder of the host function DataRiver that the check adds before a VBScript script.
inline constexpr std::string_view kDataRiverPlaceholder = "Function DataRiver(AtrId):DataRiver=\"\":End Function";

// Its JScript twin, added instead when the control's language is JScript, so that the VBScript text
// never decides the verdict of a JScript script.
inline constexpr std::string_view kDataRiverPlaceholderJScript = "function DataRiver(AtrId){return \"\";}";

// The editor's syntax check: adds the DataRiver placeholder of the control's language, then the
// script, to the control (nothing is reset first: what earlier checks added stays). Returns true when
// the script compiles. Otherwise returns false and sets message to the seven lines "Error.",
// "Number: ", "Desc: ", "Column: ", "Line: ", "Text: ", "Source: " with the control's last error,
// joined by CR LF with none after the last; message is left alone on success. The control's Error()
// still describes the failure afterwards. An empty script passes.
bool checkScriptSyntax(ScriptControl& control, const std::string& scriptText, std::string& message);

} // namespace zel::script
