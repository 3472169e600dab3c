#pragma once

#include "platform/controls/Picture.h"

#include <array>
#include <string>
#include <utility>

namespace zel::controls {

// The wizard's parameter grid as the core sees it: rows of four text cells (name, data type,
// attribute, default value), row indexes from 0, each row with two pictures.
class IParameterGrid
{
public:
    static constexpr int kColumns = 4;
    using Row = std::array<std::string, kColumns>;

    virtual ~IParameterGrid() = default;

    // Removes every row; the current row becomes -1.
    virtual void clear() = 0;
    // Appends a row holding cells and returns its index.
    virtual int addRow(const Row& cells) = 0;
    virtual int rowCount() const = 0;
    // The text of a cell; "" for a row or column outside the grid (a loop may run one past the end).
    virtual std::string cell(int row, int column) const = 0;
    // Replaces the text of a cell; ignored outside the grid.
    virtual void setCell(int row, int column, const std::string& text) = 0;
    // The current row, -1 when there is none.
    virtual int currentRow() const = 0;
    // Makes row current; ignored outside the grid.
    virtual void setCurrentRow(int row) = 0;
    // Gives a row its two pictures; ignored outside the grid.
    virtual void setRowPictures(int row, Picture first, Picture second) = 0;
    // A row's two pictures; {None, None} outside the grid.
    virtual std::pair<Picture, Picture> rowPictures(int row) const = 0;
};

} // namespace zel::controls
