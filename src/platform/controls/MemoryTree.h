#pragma once

#include "platform/controls/ITreeControl.h"

#include <memory>
#include <vector>

namespace zel::controls {

// A tree with tick boxes held in memory, for tests and command-line tools. Item handles of
// removed items are never reused, so a stale handle answers as no item.
class MemoryTree : public ITreeControl
{
public:
    MemoryTree();

    TreeItem root() const override;
    void clearChildren(TreeItem item) override;
    TreeItem addChild(TreeItem parent, const std::string& text, Picture picture, bool checkable) override;
    int itemCount() const override;
    int childCount(TreeItem item) const override;
    TreeItem child(TreeItem item, int index) const override;
    TreeItem parent(TreeItem item) const override;
    std::string text(TreeItem item) const override;
    Picture picture(TreeItem item) const override;
    bool isCheckable(TreeItem item) const override;
    bool isChecked(TreeItem item) const override;
    void setChecked(TreeItem item, bool checked) override;

private:
    struct Node
    {
        std::uintptr_t id = 0;
        std::uintptr_t parent = 0;
        std::string text;
        Picture picture = Picture::None;
        bool checkable = false;
        bool checked = false;
        bool alive = true;
        std::vector<std::uintptr_t> children;
    };
    Node* find(TreeItem item);
    const Node* find(TreeItem item) const;
    void release(std::uintptr_t id);

    // Index = id - 1; removed items stay as dead entries so their ids are not reused.
    std::vector<Node> m_nodes;
    int m_count = 0;
};

} // namespace zel::controls
