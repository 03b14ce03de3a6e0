#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {
class UILabel;
}

namespace Corvendale {

// AutoFillV.NotAvailableV.StepV: one step of updating the system, its number beside what to do.
class AutoFillVNotAvailableVStepV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    const std::shared_ptr<UIKit::UILabel>& numberLabel() const { return m_numberLabel; }
    const std::shared_ptr<UIKit::UILabel>& instructionLabel() const { return m_instructionLabel; }

    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    AutoFillVNotAvailableVStepV(Foundation::String number, Foundation::String instruction);
    void initialize() override;

private:
    Foundation::String m_number;
    Foundation::String m_instruction;
    std::shared_ptr<UIKit::UILabel> m_numberLabel;
    std::shared_ptr<UIKit::UILabel> m_instructionLabel;
};

} // namespace Corvendale
