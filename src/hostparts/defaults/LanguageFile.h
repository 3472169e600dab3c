#pragma once

#include "platform/com/ClassRegistry.h"
#include "zel/ZelScriptEditor.h"

#include <map>
#include <string>

namespace zel {

// The default language-text component. A language file "<folder>/<id>.lng" is UTF-8 text in
// sections:
//   ; comment
//   [frmMain]
//   Caption=Script editor
//   MsgConfirmWizard=Replace the script?\nThe current text will be lost.
// Keys and section names are case-sensitive; the value is everything after the first "=",
// with surrounding blanks removed and the escapes \n, \t and \\ decoded. A missing key is an
// error; an empty value is an empty text.
class LanguageFile final : public ILanguageFile
{
public:
    bool Open(std::string_view languageId, std::string_view folder) override;
    std::string Text(std::string_view section, std::string_view key) override;

    // Parses the content of a language file (exposed for tests and tools).
    void Parse(std::string_view content);

private:
    std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>> m_sections;
    com::ObjectCounter m_counter;
};

} // namespace zel
