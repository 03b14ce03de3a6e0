#pragma once

#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/JSONDecoder.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"

#include <memory>
#include <variant>

namespace Basalwork {

// The date strategy a JSONCoder gives both its encoder and its decoder.
class JSONCoder::DateCodingStrategy : public Foundation::Enumeration<JSONCoder::DateCodingStrategy> {
public:
    struct Formatted {
        std::shared_ptr<Foundation::DateFormatter> dateFormmater;
    };
    struct DeferredToDate { };
    struct ISO8601 { };
    struct MillisecondsSince1970 { };
    struct SecondsSince1970 { };
    // Cases in declared order.
    using Case = std::variant<Formatted, DeferredToDate, ISO8601, MillisecondsSince1970, SecondsSince1970>;

    // The formatter object is shared with the coders, not copied.
    static DateCodingStrategy formatted(std::shared_ptr<Foundation::DateFormatter> dateFormmater)
    {
        return DateCodingStrategy(Formatted {std::move(dateFormmater)});
    }
    static DateCodingStrategy deferredToDate() { return DateCodingStrategy(DeferredToDate {}); }
    static DateCodingStrategy iso8601() { return DateCodingStrategy(ISO8601 {}); }
    static DateCodingStrategy millisecondsSince1970() { return DateCodingStrategy(MillisecondsSince1970 {}); }
    static DateCodingStrategy secondsSince1970() { return DateCodingStrategy(SecondsSince1970 {}); }

    const Case& value() const { return m_case; }

    // Each case maps to the platform case of the same name.
    Foundation::JSONEncoder::DateEncodingStrategy encoding() const;
    Foundation::JSONDecoder::DateDecodingStrategy decoding() const;

private:
    explicit DateCodingStrategy(Case value)
        : m_case(std::move(value))
    {
    }
    Foundation::JSONDateStrategy platformStrategy() const;

    Case m_case;
};

} // namespace Basalwork
