#include "Platform/Foundation/CodingErrorContext.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Foundation {

std::string CodingErrorContext::description() const
{
    return "Context(codingPath: " + describe(codingPath) + ", debugDescription: " + debugQuoted(debugDescription)
        + ", underlyingError: " + (underlyingError ? "Optional(" + underlyingError->description() + ")" : "nil") + ")";
}

} // namespace Foundation
