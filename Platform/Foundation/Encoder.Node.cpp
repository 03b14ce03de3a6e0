#include "Platform/Foundation/Encoder.Node.hpp"

namespace Foundation {

std::shared_ptr<Encoder::Node> Encoder::Node::replaceMember(std::string_view key)
{
    auto node = std::make_shared<Node>();
    std::string name(key);
    if (auto found = memberIndex.find(name); found != memberIndex.end()) {
        members[found->second].second = node;
    } else {
        memberIndex.emplace(name, members.size());
        members.emplace_back(std::move(name), node);
    }
    return node;
}

std::shared_ptr<Encoder::Node> Encoder::Node::member(std::string_view key, Kind kind)
{
    if (auto found = memberIndex.find(std::string(key)); found != memberIndex.end()) {
        const auto& existing = members[found->second].second;
        if (existing->kind == kind)
            return existing;
    }
    auto node = replaceMember(key);
    node->kind = kind;
    return node;
}

std::shared_ptr<Encoder::Node> Encoder::Node::appendElement()
{
    return elements.emplace_back(std::make_shared<Node>());
}

nlohmann::ordered_json Encoder::Node::take()
{
    switch (kind) {
    case Kind::value:
        return std::move(value);
    case Kind::array: {
        auto array = nlohmann::ordered_json::array();
        array.get_ref<nlohmann::ordered_json::array_t&>().reserve(elements.size());
        for (auto& element : elements)
            array.push_back(element->take());
        return array;
    }
    case Kind::empty:
    case Kind::object: {
        auto object = nlohmann::ordered_json::object();
        auto& storage = object.get_ref<nlohmann::ordered_json::object_t&>();
        storage.reserve(members.size());
        // Keys are unique already, so the members go in without the map's search.
        for (auto& [key, node] : members)
            storage.emplace_back(key, node->take());
        return object;
    }
    }
    return nullptr;
}

} // namespace Foundation
