#pragma once

#include <string>

namespace zel::controls {

// A one-line text field of a window, as the core sees it.
class ITextBox
{
public:
    virtual ~ITextBox() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

} // namespace zel::controls
