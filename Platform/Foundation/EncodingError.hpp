#pragma once

#include "Platform/Foundation/CodingErrorContext.hpp"
#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"

#include <string>
#include <variant>

namespace Foundation {

// Why a value could not be encoded. Bridges to NSCocoaErrorDomain code 4866 (NSCoderInvalidValueError).
class EncodingError : public ErrorOf<EncodingError>, public Foundation::Enumeration<EncodingError> {
public:
    using Context = CodingErrorContext;
    // The value (as printed) cannot be written: a non-finite number, or a value that wrote nothing.
    struct InvalidValue {
        std::string value;
        Context context;
    };
    using Case = std::variant<InvalidValue>;

    static EncodingError invalidValue(std::string value, Context context) { return EncodingError(InvalidValue {std::move(value), std::move(context)}); }

    const Case& value() const { return m_case; }
    const Context& context() const { return std::get<InvalidValue>(m_case).context; }

    std::string domain() const override;
    std::int64_t code() const override { return 4866; }
    std::string description() const override;
    std::string localizedDescription() const override;

private:
    explicit EncodingError(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Foundation
