#pragma once

#include <memory>
#include <string>

namespace zel {

enum class MessageIcon
{
    None,
    Information,
    Question,
    Exclamation,
    Critical,
};

enum class MessageButtons
{
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
};

// The button that closed a message box.
enum class MessageResult
{
    Ok = 1,
    Cancel = 2,
    Yes = 6,
    No = 7,
};

// What the system asks of the user interface outside its own windows: message boxes and the
// clipboard. The toolkit layer installs the real implementation; tests install one that
// answers message boxes and records what was shown. Without either, message boxes are written
// to standard error and answered with their first button, and the clipboard lives in memory.
class UiServices
{
public:
    virtual ~UiServices() = default;

    virtual MessageResult messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;
};

// The services in force.
UiServices& uiServices();

// Installs services (none restores the built-in fallback) and returns the ones replaced.
std::shared_ptr<UiServices> setUiServices(std::shared_ptr<UiServices> services);

} // namespace zel
