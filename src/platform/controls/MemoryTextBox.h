#pragma once

#include "platform/controls/ITextBox.h"

namespace zel::controls {

// A text field held in memory, for tests and command-line tools.
class MemoryTextBox : public ITextBox
{
public:
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override { m_text = text; }

private:
    std::string m_text;
};

} // namespace zel::controls
