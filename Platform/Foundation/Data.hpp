#pragma once

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Foundation {

class URL;

// A byte buffer with value semantics.
class Data {
public:
    // An option set; `{}` is none.
    struct WritingOptions : Foundation::OptionSet<WritingOptions> {
        // Through a temporary file beside the destination and a rename: never a half-written file.
        static constexpr WritingOptions atomic() { return {1u << 0}; }
    };
    struct Range {
        std::size_t lowerBound = 0;
        std::size_t upperBound = 0;
        friend bool operator==(const Range&, const Range&) = default;
    };

    Data() = default;
    explicit Data(std::vector<std::uint8_t> bytes)
        : m_bytes(std::move(bytes))
    {
    }
    Data(const void* bytes, std::size_t count);
    static Data fromString(std::string_view bytes) { return Data(bytes.data(), bytes.size()); }
    // Padded standard Base64; characters outside the alphabet make it fail.
    static std::optional<Data> fromBase64(std::string_view base64);
    // Whether fromBase64 would read it, without making the bytes.
    static bool isBase64(std::string_view base64);
    // Data(contentsOf:): the whole file at a file URL. Failures throw NSError in NSCocoaErrorDomain.
    static Data contentsOf(const URL& url);

    std::size_t count() const { return m_bytes.size(); }
    bool isEmpty() const { return m_bytes.empty(); }
    const std::uint8_t* bytes() const { return m_bytes.data(); }
    std::uint8_t* mutableBytes() { return m_bytes.data(); }
    const std::vector<std::uint8_t>& byteVector() const { return m_bytes; }
    std::string_view view() const { return {reinterpret_cast<const char*>(m_bytes.data()), m_bytes.size()}; }
    std::uint8_t operator[](std::size_t index) const { return m_bytes[index]; }
    auto begin() const { return m_bytes.begin(); }
    auto end() const { return m_bytes.end(); }

    void append(const Data& other);
    void append(const void* bytes, std::size_t count);
    void append(std::uint8_t byte) { m_bytes.push_back(byte); }
    void resetBytes(Range range);
    void replaceSubrange(Range range, const Data& with);
    void removeAll() { m_bytes.clear(); }
    // Out-of-bounds ranges stop the program, as the platform's subdata does.
    Data subdata(Range range) const;
    // The first occurrence of `needle` within `in` (the whole buffer when absent).
    std::optional<Range> range(const Data& needle, std::optional<Range> in = std::nullopt) const;

    // write(to:options:): failures throw NSError in NSCocoaErrorDomain.
    void write(const URL& to, WritingOptions options = {}) const;

    std::string base64EncodedString() const;
    // "N bytes", as the platform prints data.
    std::string description() const;

    friend bool operator==(const Data&, const Data&) = default;
    std::size_t hash() const;

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace Foundation

template <>
struct std::hash<Foundation::Data> {
    std::size_t operator()(const Foundation::Data& data) const { return data.hash(); }
};
