#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <vector>

namespace UIKit {
class UILabel;
}

namespace Corvendale {

class SafeForInspectionVInstructionsVStepV;

// SafeForInspectionV.InstructionsV: how to use the mode once its password is set, in four steps.
class SafeForInspectionVInstructionsV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    using StepV = SafeForInspectionVInstructionsVStepV;

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::vector<std::shared_ptr<StepV>>& stepVs() const { return m_stepVs; }

    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    SafeForInspectionVInstructionsV();
    void initialize() override;

private:
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::vector<std::shared_ptr<StepV>> m_stepVs;
};

} // namespace Corvendale
