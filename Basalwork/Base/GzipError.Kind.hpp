#pragma once

#include "Basalwork/Base/GzipError.hpp"

#include "Platform/Foundation/Enumeration.hpp"

#include <cstdint>
#include <string>
#include <variant>

namespace Basalwork {

// The failure a zlib status names; statuses zlib documents no failure for are `unknown`, with the status.
class GzipError::Kind : public Foundation::Enumeration<GzipError::Kind> {
public:
    struct Unknown {
        std::int64_t code;
        friend bool operator==(const Unknown&, const Unknown&) = default;
    };
    struct Stream {
        friend bool operator==(const Stream&, const Stream&) = default;
    };
    struct Data {
        friend bool operator==(const Data&, const Data&) = default;
    };
    struct Memory {
        friend bool operator==(const Memory&, const Memory&) = default;
    };
    struct Buffer {
        friend bool operator==(const Buffer&, const Buffer&) = default;
    };
    struct Version {
        friend bool operator==(const Version&, const Version&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<Unknown, Stream, Data, Memory, Buffer, Version>;

    static Kind unknown(std::int64_t code) { return Kind(Unknown {code}); }
    static Kind stream() { return Kind(Stream {}); }
    static Kind data() { return Kind(Data {}); }
    static Kind memory() { return Kind(Memory {}); }
    static Kind buffer() { return Kind(Buffer {}); }
    static Kind version() { return Kind(Version {}); }
    // The case for a zlib status.
    static Kind withStatus(int status);

    const Case& value() const { return m_case; }

    // "data", "unknown(code: 2)"
    std::string description() const;

    friend bool operator==(const Kind&, const Kind&) = default;

private:
    explicit Kind(Case value)
        : m_case(value)
    {
    }
    Case m_case;
};

} // namespace Basalwork
