#pragma once

#include "Platform/Foundation/Encoder.hpp"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Foundation {

// One value of the tree being encoded. Containers keep pointers to their nodes while later siblings are
// added, so nodes live on the heap and the JSON tree is built only once encoding has finished.
struct Encoder::Node {
    enum class Kind { empty, value, object, array };

    Kind kind = Kind::empty;
    nlohmann::ordered_json value;
    std::vector<std::pair<std::string, std::shared_ptr<Node>>> members;
    std::unordered_map<std::string, std::size_t> memberIndex;
    std::vector<std::shared_ptr<Node>> elements;

    // A fresh node under the key; an existing member keeps its place and gets the new value.
    std::shared_ptr<Node> replaceMember(std::string_view key);
    // The existing member when it is of `kind`, else a fresh one in its place.
    std::shared_ptr<Node> member(std::string_view key, Kind kind);
    std::shared_ptr<Node> appendElement();

    // Moves the values out; a node that was never written becomes an empty object.
    nlohmann::ordered_json take();
};

} // namespace Foundation
