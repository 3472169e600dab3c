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
// clipboard. The toolkit seam (platform/ui/Toolkit.h) holds the implementation in force: the
// window toolkit's, a test's that answers message boxes and records what was shown, or the
// headless default.
class UiServices
{
public:
    virtual ~UiServices() = default;

    virtual MessageResult messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;
};

// The services in force: those of toolkit(), or the headless default when it holds none.
UiServices& uiServices();

} // namespace zel
