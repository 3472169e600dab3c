#include "platform/controls/MemoryGrid.h"

namespace zel::controls {

void MemoryGrid::clear()
{
    m_rows.clear();
    m_current = -1;
}

int MemoryGrid::addRow(const Row& cells)
{
    m_rows.push_back(Line{cells});
    return static_cast<int>(m_rows.size()) - 1;
}

int MemoryGrid::rowCount() const
{
    return static_cast<int>(m_rows.size());
}

std::string MemoryGrid::cell(int row, int column) const
{
    if (!inside(row) || column < 0 || column >= kColumns)
        return {};
    return m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

void MemoryGrid::setCell(int row, int column, const std::string& text)
{
    if (inside(row) && column >= 0 && column < kColumns)
        m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)] = text;
}

int MemoryGrid::currentRow() const
{
    return m_current;
}

void MemoryGrid::setCurrentRow(int row)
{
    if (inside(row))
        m_current = row;
}

void MemoryGrid::setRowPictures(int row, Picture first, Picture second)
{
    if (!inside(row))
        return;
    m_rows[static_cast<std::size_t>(row)].first = first;
    m_rows[static_cast<std::size_t>(row)].second = second;
}

std::pair<Picture, Picture> MemoryGrid::rowPictures(int row) const
{
    if (!inside(row))
        return {Picture::None, Picture::None};
    const Line& line = m_rows[static_cast<std::size_t>(row)];
    return {line.first, line.second};
}

} // namespace zel::controls
