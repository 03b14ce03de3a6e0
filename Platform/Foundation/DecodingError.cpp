#include "Platform/Foundation/DecodingError.hpp"

#include "Platform/Foundation/NSError.hpp"

namespace Foundation {
namespace {

struct Describer {
    std::string operator()(const DecodingError::TypeMismatch& c) const { return "typeMismatch(" + c.type + ", " + c.context.description() + ")"; }
    std::string operator()(const DecodingError::ValueNotFound& c) const { return "valueNotFound(" + c.type + ", " + c.context.description() + ")"; }
    std::string operator()(const DecodingError::KeyNotFound& c) const { return "keyNotFound(" + c.key.description() + ", " + c.context.description() + ")"; }
    std::string operator()(const DecodingError::DataCorrupted& c) const { return "dataCorrupted(" + c.context.description() + ")"; }
};

bool isMissing(const DecodingError::Case& value)
{
    return std::holds_alternative<DecodingError::ValueNotFound>(value) || std::holds_alternative<DecodingError::KeyNotFound>(value);
}

} // namespace

const DecodingError::Context& DecodingError::context() const
{
    return std::visit([](const auto& c) -> const Context& { return c.context; }, m_case);
}

std::string DecodingError::domain() const
{
    return NSCocoaErrorDomain;
}

std::int64_t DecodingError::code() const
{
    return isMissing(m_case) ? 4865 : 4864;
}

std::string DecodingError::description() const
{
    return std::visit(Describer {}, m_case);
}

std::string DecodingError::localizedDescription() const
{
    return isMissing(m_case) ? "The data couldn\u2019t be read because it is missing."
                             : "The data couldn\u2019t be read because it isn\u2019t in the correct format.";
}

} // namespace Foundation
