#include "Basalwork/Base/AsyncOperationError.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Basalwork {
namespace {

struct Describer {
    std::string operator()(const AsyncOperationError::OperationFailedWithMessage& c) const
    {
        return "operationFailedWithMessage(" + Foundation::debugQuoted(c.message.view()) + ")";
    }
    std::string operator()(const AsyncOperationError::OperationNotComplete&) const { return "operationNotComplete"; }
    std::string operator()(const AsyncOperationError::OperationCancelled&) const { return "operationCancelled"; }
    std::string operator()(const AsyncOperationError::OperationAbortedDueToFailureInDependentOperation&) const
    {
        return "operationAbortedDueToFailureInDependentOperation";
    }
};

} // namespace

std::string AsyncOperationError::description() const
{
    return std::visit(Describer {}, m_case);
}

} // namespace Basalwork
