#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <variant>

namespace Basalwork {

// Why an asynchronous operation has no value.
class AsyncOperationError : public Foundation::ErrorOf<AsyncOperationError>,
                            public Foundation::Enumeration<AsyncOperationError> {
public:
    struct OperationFailedWithMessage {
        Foundation::String message;
    };
    struct OperationNotComplete { };
    struct OperationCancelled { };
    struct OperationAbortedDueToFailureInDependentOperation { };
    // Cases in declared order; the payload case comes first, so the index is also the bridged code.
    using Case = std::variant<OperationFailedWithMessage, OperationNotComplete, OperationCancelled,
                              OperationAbortedDueToFailureInDependentOperation>;

    static AsyncOperationError operationFailedWithMessage(Foundation::String message)
    {
        return AsyncOperationError(OperationFailedWithMessage {std::move(message)});
    }
    static AsyncOperationError operationNotComplete() { return AsyncOperationError(OperationNotComplete {}); }
    static AsyncOperationError operationCancelled() { return AsyncOperationError(OperationCancelled {}); }
    static AsyncOperationError operationAbortedDueToFailureInDependentOperation()
    {
        return AsyncOperationError(OperationAbortedDueToFailureInDependentOperation {});
    }

    const Case& value() const { return m_case; }

    std::string domain() const override { return "Basalwork.AsyncOperationError"; }
    std::int64_t code() const override { return index(); }
    std::string description() const override;

private:
    explicit AsyncOperationError(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
