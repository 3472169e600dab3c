#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTree.h"

#include <gtest/gtest.h>

using namespace zel::controls;

TEST(MemoryGrid, CellsOutsideTheGrid_ReadEmptyAndIgnoreWrites)
{
    MemoryGrid grid;
    grid.addRow({"a", "int", "[none]", ""});
    // The older wizard's Finish loop reads one row past the last one.
    EXPECT_EQ(grid.cell(1, 0), "");
    EXPECT_EQ(grid.cell(0, 4), "");
    EXPECT_EQ(grid.cell(-1, 0), "");
    grid.setCell(1, 0, "x");
    grid.setCurrentRow(3);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.currentRow(), -1);
    grid.setCurrentRow(0);
    grid.clear();
    EXPECT_EQ(grid.rowCount(), 0);
    EXPECT_EQ(grid.currentRow(), -1) << "clearing drops the current row";
}

TEST(MemoryTree, ClearChildren_RemovesWholeSubtreesAndStaleHandlesAnswerEmpty)
{
    MemoryTree tree;
    const TreeItem service = tree.addChild(tree.root(), "Calculator", Picture::Class, false);
    const TreeItem add = tree.addChild(service, "Add", Picture::Method, true);
    tree.addChild(service, "Subtract", Picture::Method, true);
    EXPECT_EQ(tree.itemCount(), 3);
    EXPECT_EQ(tree.child(service, 1), tree.child(service, 1));
    EXPECT_EQ(tree.text(tree.child(service, 1)), "Subtract");
    EXPECT_TRUE(tree.child(service, 2).isNone());
    for (const TreeItem unknown : {TreeItem{}, TreeItem{99}})
        EXPECT_EQ(tree.childCount(unknown), 0) << "no item and one the tree never made have no children";

    tree.setChecked(service, true);
    EXPECT_FALSE(tree.isChecked(service)) << "an item without a tick box cannot be ticked";
    tree.setChecked(add, true);
    EXPECT_TRUE(tree.isChecked(add));

    tree.clearChildren(tree.root());
    EXPECT_EQ(tree.itemCount(), 0);
    EXPECT_EQ(tree.text(add), "");
    EXPECT_FALSE(tree.isChecked(add));
    EXPECT_TRUE(tree.addChild(add, "orphan", Picture::Method, true).isNone());
    const TreeItem again = tree.addChild(tree.root(), "Again", Picture::Class, false);
    EXPECT_NE(again, service) << "handles are not reused";
    EXPECT_EQ(tree.parent(again), tree.root());
}
