#pragma once

#include "Platform/Foundation/CodingKey.hpp"
#include "Platform/Foundation/CodingTraits.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace Foundation {

class Data;
class Date;
class JSONDateStrategy;
class KeyedEncodingContainer;
class UnkeyedEncodingContainer;
class SingleValueEncodingContainer;

// What a value's `encode` is handed: it asks for one kind of container and writes itself into it.
// Include Codable.hpp to use it: that brings the containers and the built-in codable types.
// An encoder and its containers are valid only during the `encode` call that produced them.
class Encoder {
public:
    struct Node;

    const CodingPath& codingPath() const;

    // container(keyedBy:): the value becomes a JSON object whose members appear in the order they are
    // encoded. Asking again gives the same object. Stops the program when the value is already something
    // other than an object, as the platform does.
    KeyedEncodingContainer container();
    // The value becomes a JSON array.
    UnkeyedEncodingContainer unkeyedContainer();
    // The value is one value: a primitive, or another value encoded in its place.
    SingleValueEncodingContainer singleValueContainer();

private:
    friend class JSONEncoder;
    friend class KeyedEncodingContainer;
    friend class UnkeyedEncodingContainer;
    friend class SingleValueEncodingContainer;
    template <class T>
    friend struct CodingTraits;

    // The node's path comes from the tree, worked out only when asked for.
    Encoder(Node* node, const JSONDateStrategy& dateStrategy);
    Encoder child(Node* node) const;

    // The primitives that the built-in types write.
    void encodeNil();
    void encodeBool(bool value);
    void encodeInteger(std::int64_t value);
    void encodeUnsignedInteger(std::uint64_t value);
    void encodeDouble(double value);
    void encodeFloat(float value);
    void encodeString(std::string_view value);
    void encodeData(const Data& value);
    void encodeDate(const Date& value);

    Node* m_node;
    const JSONDateStrategy* m_dateStrategy;
    mutable std::optional<CodingPath> m_path;
};

} // namespace Foundation

