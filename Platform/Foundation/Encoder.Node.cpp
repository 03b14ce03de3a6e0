#include "Platform/Foundation/Encoder.Node.hpp"

#include <algorithm>

namespace Foundation {
namespace {

// Below this many members a scan is cheaper than keeping an index.
constexpr std::size_t indexThreshold = 16;

} // namespace

Encoder::Node* Encoder::Node::Arena::make(Node* parent)
{
    if (m_used == blockSize) {
        m_blocks.push_back(std::make_unique<Node[]>(blockSize));
        m_used = 0;
    }
    Node* node = &m_blocks.back()[m_used++];
    node->parent = parent;
    node->arena = this;
    return node;
}

std::shared_ptr<Encoder::Node> Encoder::Node::makeRoot()
{
    auto arena = std::make_shared<Arena>();
    Node* root = arena->make(nullptr);
    // The root's owner keeps the arena, and so every node, alive.
    return std::shared_ptr<Node>(std::move(arena), root);
}

Encoder::Node* Encoder::Node::find(std::string_view name) const
{
    if (memberIndex) {
        auto found = memberIndex->find(name);
        return found == memberIndex->end() ? nullptr : children[found->second];
    }
    for (Node* child : children) {
        if (child->key == name)
            return child;
    }
    return nullptr;
}

Encoder::Node* Encoder::Node::replaceMember(std::string_view name)
{
    Node* node = arena->make(this);
    node->key = name;
    if (Node* existing = find(name)) {
        node->position = existing->position;
        children[existing->position] = node;
        return node;
    }
    node->position = children.size();
    children.push_back(node);
    if (memberIndex) {
        memberIndex->emplace(node->key, node->position);
    } else if (children.size() > indexThreshold) {
        // Views of the first node under each key: nodes stay until the tree goes.
        memberIndex = std::make_unique<std::unordered_map<std::string_view, std::size_t>>();
        for (Node* child : children)
            memberIndex->emplace(child->key, child->position);
    }
    return node;
}

Encoder::Node* Encoder::Node::member(std::string_view name, Kind memberKind)
{
    if (Node* existing = find(name); existing && existing->kind == memberKind)
        return existing;
    Node* node = replaceMember(name);
    node->kind = memberKind;
    return node;
}

Encoder::Node* Encoder::Node::appendElement()
{
    Node* node = arena->make(this);
    node->position = children.size();
    children.push_back(node);
    return node;
}

CodingPath Encoder::Node::codingPath() const
{
    CodingPath path;
    for (const Node* node = this; node->parent; node = node->parent) {
        if (node->parent->kind == Kind::array)
            path.push_back(CodingKey::index(static_cast<std::int64_t>(node->position)));
        else
            path.push_back(CodingKey::named(node->key));
    }
    std::reverse(path.begin(), path.end());
    return path;
}

} // namespace Foundation
