#include "platform/controls/MemoryTree.h"

namespace zel::controls {

MemoryTree::MemoryTree()
{
    Node root;
    root.id = 1;
    m_nodes.push_back(std::move(root));
}

MemoryTree::Node* MemoryTree::find(TreeItem item)
{
    if (item.id == 0 || item.id > m_nodes.size())
        return nullptr;
    Node& node = m_nodes[item.id - 1];
    return node.alive ? &node : nullptr;
}

const MemoryTree::Node* MemoryTree::find(TreeItem item) const
{
    return const_cast<MemoryTree*>(this)->find(item);
}

TreeItem MemoryTree::root() const
{
    return TreeItem{1};
}

void MemoryTree::release(std::uintptr_t id)
{
    Node& node = m_nodes[id - 1];
    for (std::uintptr_t c : node.children)
        release(c);
    node.children.clear();
    node.alive = false;
    --m_count;
}

void MemoryTree::clearChildren(TreeItem item)
{
    Node* node = find(item);
    if (node == nullptr)
        return;
    const std::vector<std::uintptr_t> children = std::move(node->children);
    node->children.clear();
    for (std::uintptr_t c : children)
        release(c);
}

TreeItem MemoryTree::addChild(TreeItem parent, const std::string& text, Picture picture, bool checkable)
{
    if (find(parent) == nullptr)
        return {};
    const std::uintptr_t id = m_nodes.size() + 1;
    Node node;
    node.id = id;
    node.parent = parent.id;
    node.text = text;
    node.picture = picture;
    node.checkable = checkable;
    m_nodes.push_back(std::move(node));
    m_nodes[parent.id - 1].children.push_back(id);
    ++m_count;
    return TreeItem{id};
}

int MemoryTree::itemCount() const
{
    return m_count;
}

int MemoryTree::childCount(TreeItem item) const
{
    const Node* node = find(item);
    return node == nullptr ? 0 : static_cast<int>(node->children.size());
}

TreeItem MemoryTree::child(TreeItem item, int index) const
{
    const Node* node = find(item);
    if (node == nullptr || index < 0 || index >= static_cast<int>(node->children.size()))
        return {};
    return TreeItem{node->children[static_cast<std::size_t>(index)]};
}

TreeItem MemoryTree::parent(TreeItem item) const
{
    const Node* node = find(item);
    return node == nullptr ? TreeItem{} : TreeItem{node->parent};
}

std::string MemoryTree::text(TreeItem item) const
{
    const Node* node = find(item);
    return node == nullptr ? std::string() : node->text;
}

Picture MemoryTree::picture(TreeItem item) const
{
    const Node* node = find(item);
    return node == nullptr ? Picture::None : node->picture;
}

bool MemoryTree::isCheckable(TreeItem item) const
{
    const Node* node = find(item);
    return node != nullptr && node->checkable;
}

bool MemoryTree::isChecked(TreeItem item) const
{
    const Node* node = find(item);
    return node != nullptr && node->checkable && node->checked;
}

void MemoryTree::setChecked(TreeItem item, bool checked)
{
    Node* node = find(item);
    if (node != nullptr && node->checkable)
        node->checked = checked;
}

} // namespace zel::controls
