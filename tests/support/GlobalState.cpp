#include "support/TestSupport.h"

#include "platform/module/Module.h"

// Kept apart from the file helpers, so that a test of the loaded library that only reads files
// links none of the component's own code.

namespace zel::test {

ModuleInTempDir::ModuleInTempDir(const std::string& baseName)
    : m_baseName(baseName), m_registry("ZEL_CLASS_REGISTRY", (m_dir / "classes.reg").string())
{
    Module::overrideLocation(m_dir.path(), baseName);
}

ModuleInTempDir::~ModuleInTempDir()
{
    Module::overrideLocation({}, {});
}

MessageResult RecordingUi::messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                      MessageButtons buttons)
{
    shown.push_back({text, title, icon, buttons});
    if (!answers.empty()) {
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageResult::Yes
                                                                                      : MessageResult::Ok;
}

std::string RecordingUi::clipboardText()
{
    if (clipboardFails)
        throw ErrorRecord(521, "Can't open Clipboard", "Clipboard");
    return clipboard;
}

void RecordingUi::setClipboardText(const std::string& text)
{
    if (clipboardFails)
        throw ErrorRecord(521, "Can't open Clipboard", "Clipboard");
    clipboard = text;
}

} // namespace zel::test
