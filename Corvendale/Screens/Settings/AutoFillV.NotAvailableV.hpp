#pragma once

#include "Corvendale/Screens/Settings/AutoFillV.TitledStepsV.hpp"

#include <vector>

namespace Corvendale {

class AutoFillVNotAvailableVStepV;

// AutoFillV.NotAvailableV: the system is too old for AutoFill; how to update it.
class AutoFillVNotAvailableV : public AutoFillVTitledStepsV {
public:
    using StepV = AutoFillVNotAvailableVStepV;

    const std::vector<std::shared_ptr<StepV>>& stepVs() const { return m_stepVs; }

protected:
    friend Foundation::Construct;
    explicit AutoFillVNotAvailableV(std::vector<std::shared_ptr<StepV>> stepVs = makeStepVs());

private:
    static std::vector<std::shared_ptr<StepV>> makeStepVs();

    std::vector<std::shared_ptr<StepV>> m_stepVs;
};

} // namespace Corvendale
