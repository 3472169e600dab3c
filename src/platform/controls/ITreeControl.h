#pragma once

#include "platform/controls/Picture.h"

#include <cstdint>
#include <string>

namespace zel::controls {

// An item of a tree control; an implementation keeps whatever identifies its items in id
// (an index, a pointer). The default value is "no item".
struct TreeItem
{
    std::uintptr_t id = 0;
    bool isNone() const { return id == 0; }
    bool operator==(const TreeItem&) const = default;
};

// The wizard's structure tree with tick boxes, as the core sees it. The root is invisible; every
// other item has a text, a picture and, when it was added so, a tick box.
class ITreeControl
{
public:
    virtual ~ITreeControl() = default;

    // The invisible root item.
    virtual TreeItem root() const = 0;
    // Removes every descendant of item; nothing for no item.
    virtual void clearChildren(TreeItem item) = 0;
    // Appends a child with text and picture, with a tick box when checkable, and returns it.
    // Returns no item when parent is no item.
    virtual TreeItem addChild(TreeItem parent, const std::string& text, Picture picture, bool checkable) = 0;
    // The number of items in the tree, the root excluded.
    virtual int itemCount() const = 0;
    virtual int childCount(TreeItem item) const = 0;
    // The child of item at a zero-based index; no item when out of range.
    virtual TreeItem child(TreeItem item, int index) const = 0;
    // The parent of item; no item for the root and for no item.
    virtual TreeItem parent(TreeItem item) const = 0;
    virtual std::string text(TreeItem item) const = 0;
    virtual Picture picture(TreeItem item) const = 0;
    virtual bool isCheckable(TreeItem item) const = 0;
    // True when item has a tick box and it is ticked.
    virtual bool isChecked(TreeItem item) const = 0;
    // Ticks or clears item's tick box; ignored for an item without one.
    virtual void setChecked(TreeItem item, bool checked) = 0;
};

} // namespace zel::controls
