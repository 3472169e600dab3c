#pragma once

#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTree.h"

#include <string>

namespace zel::wsdltest {

// The grid as one line, so that a table row can state it whole: "name type attribute" per row,
// ", " between rows, "*" before the current row and " (pictures)" after a row whose pictures are
// not the parameter pair.
inline std::string rows(const controls::MemoryGrid& grid)
{
    std::string text;
    for (int r = 0; r < grid.rowCount(); ++r) {
        text += std::string(r == 0 ? "" : ", ") + (r == grid.currentRow() ? "*" : "") + grid.cell(r, 0) + " " +
                grid.cell(r, 1) + " " + grid.cell(r, 2) + grid.cell(r, 3);
        if (grid.rowPictures(r) != std::make_pair(controls::Picture::ParameterName, controls::Picture::ParameterValue))
            text += " (pictures)";
    }
    return text;
}

// The tree below item as one line: each text, "+" when ticked, its children in parentheses;
// "?" marks an item that cannot be ticked or whose picture does not fit its level.
inline std::string branches(const controls::MemoryTree& tree, controls::TreeItem item = {}, int level = 0)
{
    if (level == 0)
        item = tree.root();
    std::string text;
    for (int i = 0; i < tree.childCount(item); ++i) {
        const controls::TreeItem child = tree.child(item, i);
        const controls::Picture picture = level == 0 ? controls::Picture::Class : controls::Picture::Method;
        text += std::string(i == 0 ? "" : " ") + tree.text(child) + (tree.isChecked(child) ? "+" : "") +
                (tree.isCheckable(child) && tree.picture(child) == picture ? "" : "?");
        if (tree.childCount(child) > 0)
            text += "(" + branches(tree, child, level + 1) + ")";
    }
    return text;
}

} // namespace zel::wsdltest
