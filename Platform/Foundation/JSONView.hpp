#pragma once

#include "Platform/Foundation/JSONDocument.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace Foundation {

// One value of a parsed JSONDocument, read by what it holds rather than decoded into a type: for formats
// whose shape is checked by hand. A view is as small as a pointer and an index; it must not outlive its
// document. Readers that ask for the wrong kind get nothing, never a converted value.
class JSONView {
public:
    using Kind = JSONDocument::Kind;
    struct Member;
    class Elements;
    class Members;

    explicit JSONView(const JSONDocument& document, std::uint32_t index = JSONDocument::root)
        : m_document(&document)
        , m_index(index)
    {
    }

    Kind kind() const { return value().kind; }
    bool isNull() const { return kind() == Kind::null; }
    bool isBool() const { return kind() == Kind::boolean; }
    bool isString() const { return kind() == Kind::string; }
    bool isArray() const { return kind() == Kind::array; }
    bool isObject() const { return kind() == Kind::object; }
    bool isNumber() const { return kind() == Kind::integer || kind() == Kind::unsignedInteger || kind() == Kind::real; }
    // A number written without a fraction or an exponent that fits 64 bits, signed or not.
    bool isInteger() const { return isWholeNumber() && !value().writtenAsReal; }
    // A number without a fraction that fits 64 bits, however it was written ("3", "3.0", "3e0").
    bool isWholeNumber() const { return kind() == Kind::integer || kind() == Kind::unsignedInteger; }
    // A number written with a fraction or an exponent, or too large for an integer.
    bool isReal() const { return kind() == Kind::real || (isWholeNumber() && value().writtenAsReal); }

    std::optional<bool> boolean() const;
    // An integer (as isInteger) that fits the type.
    std::optional<std::int64_t> int64() const;
    std::optional<std::uint64_t> uint64() const;
    // Any number, rounded to the nearest double.
    std::optional<double> number() const;
    // The unescaped text, valid as long as the document.
    std::optional<std::string_view> string() const;

    // An array's elements or an object's members; 0 for anything else.
    std::size_t size() const;
    bool isEmpty() const { return size() == 0; }
    // The member under the key; nothing when absent or when this is no object. A key given twice in the
    // text holds its last value.
    std::optional<JSONView> find(std::string_view key) const;
    bool contains(std::string_view key) const { return find(key).has_value(); }
    // The array's element at the position, which must be below size().
    JSONView operator[](std::size_t position) const;
    // Empty for anything but an array, or an object.
    Elements elements() const;
    Members members() const;

    const JSONDocument& document() const { return *m_document; }
    std::uint32_t index() const { return m_index; }

private:
    const JSONDocument::Value& value() const { return m_document->value(m_index); }

    const JSONDocument* m_document;
    std::uint32_t m_index;
};

struct JSONView::Member {
    std::string_view key;
    JSONView value;
};

class JSONView::Elements {
public:
    class Iterator {
    public:
        using difference_type = std::ptrdiff_t;
        using value_type = JSONView;

        Iterator() = default;
        Iterator(const JSONDocument* document, const JSONDocument::Value* array, std::size_t position)
            : m_document(document)
            , m_array(array)
            , m_position(position)
        {
        }
        JSONView operator*() const { return JSONView(*m_document, m_document->elementIndex(*m_array, m_position)); }
        Iterator& operator++()
        {
            ++m_position;
            return *this;
        }
        Iterator operator++(int)
        {
            auto before = *this;
            ++m_position;
            return before;
        }
        bool operator==(const Iterator& other) const { return m_position == other.m_position; }

    private:
        const JSONDocument* m_document = nullptr;
        const JSONDocument::Value* m_array = nullptr;
        std::size_t m_position = 0;
    };

    Elements(const JSONDocument* document, const JSONDocument::Value* array, std::size_t count)
        : m_document(document)
        , m_array(array)
        , m_count(count)
    {
    }
    Iterator begin() const { return {m_document, m_array, 0}; }
    Iterator end() const { return {m_document, m_array, m_count}; }
    std::size_t size() const { return m_count; }

private:
    const JSONDocument* m_document;
    const JSONDocument::Value* m_array;
    std::size_t m_count;
};

class JSONView::Members {
public:
    class Iterator {
    public:
        using difference_type = std::ptrdiff_t;
        using value_type = Member;

        Iterator() = default;
        Iterator(const JSONDocument* document, const JSONDocument::Member* member)
            : m_document(document)
            , m_member(member)
        {
        }
        Member operator*() const { return {m_member->key, JSONView(*m_document, m_member->value)}; }
        Iterator& operator++()
        {
            ++m_member;
            return *this;
        }
        Iterator operator++(int)
        {
            auto before = *this;
            ++m_member;
            return before;
        }
        bool operator==(const Iterator& other) const { return m_member == other.m_member; }

    private:
        const JSONDocument* m_document = nullptr;
        const JSONDocument::Member* m_member = nullptr;
    };

    Members(const JSONDocument* document, const JSONDocument::Member* first, std::size_t count)
        : m_document(document)
        , m_first(first)
        , m_count(count)
    {
    }
    Iterator begin() const { return {m_document, m_first}; }
    Iterator end() const { return {m_document, m_first + m_count}; }
    std::size_t size() const { return m_count; }

private:
    const JSONDocument* m_document;
    const JSONDocument::Member* m_first;
    std::size_t m_count;
};

} // namespace Foundation
