#pragma once

#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTree.h"
#include "wizard/IWizardControls.h"

#include <map>
#include <string>
#include <vector>

namespace zel::wizard {

// The wizard's window held in memory, for tests and the command-line wizard. Every control
// exists, starts enabled and visible, and lists accept any text (as the window's editable ones
// do not: a test that needs the window's rule uses the window).
class MemoryWizardControls final : public IWizardControls
{
public:
    std::string text(std::string_view control) const override;
    void setText(std::string_view control, const std::string& text) override;
    bool isChecked(std::string_view control) const override;
    void setChecked(std::string_view control, bool checked) override;
    bool isEnabled(std::string_view control) const override;
    void setEnabled(std::string_view control, bool enabled) override;
    bool isVisible(std::string_view control) const override;
    void setVisible(std::string_view control, bool visible) override;
    void setListItems(std::string_view control, const std::vector<std::string>& items) override;
    // The entries of a list ("" lists are empty).
    std::vector<std::string> listItems(std::string_view control) const;

    int selectedPage() const override { return m_page; }
    void selectPage(int page) override { m_page = page; }
    controls::ITreeControl& tree() override { return m_tree; }
    controls::IParameterGrid& grid() override { return m_grid; }
    void setGridAttributeList(const std::string& tabSeparated) override { m_attributeList = tabSeparated; }
    std::string gridAttributeList() const override { return m_attributeList; }
    void setGridHeading(int column, const std::string& text) override;
    std::string gridHeading(int column) const;

    int progress() const override { return m_progress; }
    void setProgress(int value) override { m_progress = value; }
    void setTimerRunning(bool running) override { m_timer = running; }
    bool isTimerRunning() const override { return m_timer; }
    void setBusyPointer(bool busy) override { m_busy = busy; }
    bool isBusyPointer() const { return m_busy; }
    void processEvents() override {}

    std::string caption() const override { return m_caption; }
    void setCaption(const std::string& text) override { m_caption = text; }
    void hideWindow() override { m_hidden = true; }
    void closeWindow() override { m_closed = true; }
    bool isHidden() const { return m_hidden; }
    bool isClosed() const { return m_closed; }

private:
    std::map<std::string, std::string, std::less<>> m_texts;
    std::map<std::string, bool, std::less<>> m_checked;
    std::map<std::string, bool, std::less<>> m_disabled;
    std::map<std::string, bool, std::less<>> m_hiddenControls;
    std::map<std::string, std::vector<std::string>, std::less<>> m_lists;
    std::map<int, std::string> m_headings;
    controls::MemoryTree m_tree;
    controls::MemoryGrid m_grid;
    std::string m_attributeList;
    std::string m_caption;
    int m_page = 1;
    int m_progress = 0;
    bool m_timer = false;
    bool m_busy = false;
    bool m_hidden = false;
    bool m_closed = false;
};

} // namespace zel::wizard
