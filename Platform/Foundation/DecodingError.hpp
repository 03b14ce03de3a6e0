#pragma once

#include "Platform/Foundation/CodingErrorContext.hpp"
#include "Platform/Foundation/CodingKey.hpp"
#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"

#include <string>
#include <variant>

namespace Foundation {

// Why a value could not be decoded. Bridges to NSCocoaErrorDomain: 4865 (NSCoderValueNotFoundError) for
// a missing key or value, 4864 (NSCoderReadCorruptError) otherwise.
class DecodingError : public ErrorOf<DecodingError>, public Foundation::Enumeration<DecodingError> {
public:
    using Context = CodingErrorContext;
    // The value found is not of the type asked for.
    struct TypeMismatch {
        std::string type;
        Context context;
    };
    // A value was asked for and null (or the end of an array) was found.
    struct ValueNotFound {
        std::string type;
        Context context;
    };
    struct KeyNotFound {
        CodingKey key;
        Context context;
    };
    // Invalid JSON, or a value out of range for its type.
    struct DataCorrupted {
        Context context;
    };
    // Cases in declared order.
    using Case = std::variant<TypeMismatch, ValueNotFound, KeyNotFound, DataCorrupted>;

    static DecodingError typeMismatch(std::string type, Context context) { return DecodingError(TypeMismatch {std::move(type), std::move(context)}); }
    static DecodingError valueNotFound(std::string type, Context context) { return DecodingError(ValueNotFound {std::move(type), std::move(context)}); }
    static DecodingError keyNotFound(CodingKey key, Context context) { return DecodingError(KeyNotFound {std::move(key), std::move(context)}); }
    static DecodingError dataCorrupted(Context context) { return DecodingError(DataCorrupted {std::move(context)}); }

    const Case& value() const { return m_case; }
    const Context& context() const;

    std::string domain() const override;
    std::int64_t code() const override;
    std::string description() const override;
    std::string localizedDescription() const override;

private:
    explicit DecodingError(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Foundation
