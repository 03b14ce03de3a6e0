#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {
class UILabel;
}

namespace Corvendale {

// SafeForInspectionV.InstructionsV.StepV: one numbered step, its title over what to do.
class SafeForInspectionVInstructionsVStepV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UILabel>& messageLabel() const { return m_messageLabel; }

    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    SafeForInspectionVInstructionsVStepV(Foundation::String title, Foundation::String message);
    void initialize() override;

private:
    Foundation::String m_title;
    Foundation::String m_message;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_messageLabel;
};

} // namespace Corvendale
