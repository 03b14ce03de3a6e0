#pragma once

#include "Platform/Foundation/Encoder.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Foundation {

// One value of the tree being encoded. Containers keep pointers to their nodes while later siblings are
// added, so nodes never move: they live in the tree's arena until the encoding is written.
struct Encoder::Node {
    enum class Kind { empty, value, object, array };
    enum class Scalar : std::uint8_t { null, boolean, integer, unsignedInteger, real, string };
    class Arena;

    Kind kind = Kind::empty;
    Scalar scalar = Scalar::null;
    union {
        bool boolean;
        std::int64_t integer = 0;
        std::uint64_t unsignedInteger;
        double real;
    };
    std::string text;
    // Where the node sits: its parent, and its key there or its place in the parent's array.
    Node* parent = nullptr;
    std::string key;
    std::size_t position = 0;
    // An object's members in the order first encoded, or an array's elements.
    std::vector<Node*> children;
    // Large objects find a key again through an index rather than a scan.
    std::unique_ptr<std::unordered_map<std::string_view, std::size_t>> memberIndex;
    Arena* arena = nullptr;

    // A fresh node under the key; an existing member keeps its place and gets the new value.
    Node* replaceMember(std::string_view key);
    // The existing member when it is of `kind`, else a fresh one in its place.
    Node* member(std::string_view key, Kind kind);
    Node* appendElement();

    // The keys from the top down to this node.
    CodingPath codingPath() const;

    // A tree's root; the rest of the tree goes with it.
    static std::shared_ptr<Node> makeRoot();

private:
    Node* find(std::string_view key) const;
};

// Nodes in blocks, so that adding one moves none.
class Encoder::Node::Arena {
public:
    Node* make(Node* parent);

private:
    static constexpr std::size_t blockSize = 64;
    std::vector<std::unique_ptr<Node[]>> m_blocks;
    std::size_t m_used = blockSize;
};

} // namespace Foundation
