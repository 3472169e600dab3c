#pragma once

#include "platform/controls/IParameterGrid.h"

#include <vector>

namespace zel::controls {

// A parameter grid held in memory, for tests and command-line tools.
class MemoryGrid : public IParameterGrid
{
public:
    void clear() override;
    int addRow(const Row& cells) override;
    int rowCount() const override;
    std::string cell(int row, int column) const override;
    void setCell(int row, int column, const std::string& text) override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    void setRowPictures(int row, Picture first, Picture second) override;
    std::pair<Picture, Picture> rowPictures(int row) const override;

private:
    struct Line
    {
        Row cells;
        Picture first = Picture::None;
        Picture second = Picture::None;
    };
    bool inside(int row) const { return row >= 0 && row < static_cast<int>(m_rows.size()); }

    std::vector<Line> m_rows;
    int m_current = -1;
};

} // namespace zel::controls
