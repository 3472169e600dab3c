#include "platform/ui/Toolkit.h"

#include <iostream>

namespace zel {
namespace {

// Message boxes for a process without windows: the text goes to standard error and the box is
// answered with its first button, so a question never blocks; the clipboard lives in memory.
class ConsoleUiServices final : public UiServices
{
public:
    MessageResult messageBox(const std::string& text, const std::string& title, MessageIcon,
                             MessageButtons buttons) override
    {
        std::cerr << "[" << title << "] " << text << '\n';
        switch (buttons) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return MessageResult::Yes;
        default:
            return MessageResult::Ok;
        }
    }
    std::string clipboardText() override { return m_clipboard; }
    void setClipboardText(const std::string& text) override { m_clipboard = text; }

private:
    std::string m_clipboard;
};

} // namespace

Toolkit headlessToolkit()
{
    Toolkit headless;
    headless.ui = std::make_shared<ConsoleUiServices>();
    return headless;
}

Toolkit& toolkit()
{
    static Toolkit installed = headlessToolkit();
    return installed;
}

UiServices& uiServices()
{
    static ConsoleUiServices fallback;
    const std::shared_ptr<UiServices>& ui = toolkit().ui;
    return ui ? *ui : fallback;
}

} // namespace zel
