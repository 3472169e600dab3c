#include "wizard/MemoryWizardControls.h"

namespace zel::wizard {
namespace {

template <class Map, class Value> Value lookup(const Map& map, std::string_view key, Value fallback)
{
    const auto found = map.find(key);
    return found == map.end() ? fallback : found->second;
}

} // namespace

std::string MemoryWizardControls::text(std::string_view control) const
{
    return lookup(m_texts, control, std::string());
}

void MemoryWizardControls::setText(std::string_view control, const std::string& text)
{
    m_texts.insert_or_assign(std::string(control), text);
}

bool MemoryWizardControls::isChecked(std::string_view control) const
{
    return lookup(m_checked, control, false);
}

void MemoryWizardControls::setChecked(std::string_view control, bool checked)
{
    m_checked.insert_or_assign(std::string(control), checked);
}

bool MemoryWizardControls::isEnabled(std::string_view control) const
{
    return !lookup(m_disabled, control, false);
}

void MemoryWizardControls::setEnabled(std::string_view control, bool enabled)
{
    m_disabled.insert_or_assign(std::string(control), !enabled);
}

bool MemoryWizardControls::isVisible(std::string_view control) const
{
    return !lookup(m_hiddenControls, control, false);
}

void MemoryWizardControls::setVisible(std::string_view control, bool visible)
{
    m_hiddenControls.insert_or_assign(std::string(control), !visible);
}

void MemoryWizardControls::setListItems(std::string_view control, const std::vector<std::string>& items)
{
    m_lists.insert_or_assign(std::string(control), items);
    setText(control, items.empty() ? std::string() : items.front());
}

std::vector<std::string> MemoryWizardControls::listItems(std::string_view control) const
{
    return lookup(m_lists, control, std::vector<std::string>());
}

void MemoryWizardControls::setGridHeading(int column, const std::string& text)
{
    m_headings[column] = text;
}

std::string MemoryWizardControls::gridHeading(int column) const
{
    const auto found = m_headings.find(column);
    return found == m_headings.end() ? std::string() : found->second;
}

} // namespace zel::wizard
