#include "platform/ui/UiServices.h"

#include <iostream>

namespace zel {
namespace {

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

std::shared_ptr<UiServices>& installed()
{
    static std::shared_ptr<UiServices> services;
    return services;
}

} // namespace

UiServices& uiServices()
{
    static ConsoleUiServices fallback;
    if (installed())
        return *installed();
    return fallback;
}

std::shared_ptr<UiServices> setUiServices(std::shared_ptr<UiServices> services)
{
    std::shared_ptr<UiServices> previous = std::move(installed());
    installed() = std::move(services);
    return previous;
}

} // namespace zel
