#pragma once

#include "Basalwork/Base/LAContext.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"

#include <variant>

namespace Basalwork {

class LAContext::CanEvaluateResult : public Foundation::Enumeration<LAContext::CanEvaluateResult> {
public:
    struct Failed {
        Foundation::ErrorPtr error;
    };
    struct AbleToEvaluate { };
    struct PasscodeNotSet { };
    // Cases in declared order.
    using Case = std::variant<Failed, AbleToEvaluate, PasscodeNotSet>;

    static CanEvaluateResult failed(Foundation::ErrorPtr error) { return CanEvaluateResult(Failed {std::move(error)}); }
    static CanEvaluateResult ableToEvaluate() { return CanEvaluateResult(AbleToEvaluate {}); }
    static CanEvaluateResult passcodeNotSet() { return CanEvaluateResult(PasscodeNotSet {}); }

    const Case& value() const { return m_case; }

private:
    explicit CanEvaluateResult(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
