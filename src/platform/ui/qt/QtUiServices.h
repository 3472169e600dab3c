#pragma once

#include "platform/ui/UiServices.h"

namespace zel::ui {

// The user-interface services on Qt: message boxes are QMessageBox dialogs, modal to the active
// window, and the clipboard is the application's. Needs a QApplication.
class QtUiServices final : public UiServices
{
public:
    // Shows the box and waits for the answer. CR LF and lone CR in text become line breaks.
    MessageResult messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override;
    // The clipboard's text; "" when it holds none.
    std::string clipboardText() override;
    void setClipboardText(const std::string& text) override;

    // text with CR LF and lone CR turned into LF, as a message box shows it.
    static std::string displayText(const std::string& text);
};

} // namespace zel::ui
