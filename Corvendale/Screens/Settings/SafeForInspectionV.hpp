#pragma once

#include "Corvendale/Screens/Settings/SafeForInspectionV.State.hpp"
#include "Corvendale/Screens/Settings/SettingsPageV.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UIButton;
class UILabel;
class UIStackView;
} // namespace UIKit

namespace Basalwork {
class PromotionButton;
}

namespace Corvendale {

class SafeForInspectionVCreatePasswordV;
class SafeForInspectionVDelegate;
class SafeForInspectionVInstructionsV;

// The safe-for-inspection page: what the mode is for and a button that sets it up, the inspection
// password typed twice, or how to use the mode and a button that removes its password. The action
// button's title follows what is typed.
class SafeForInspectionV : public SettingsPageV {
public:
    using State = SafeForInspectionVState;
    using CreatePasswordV = SafeForInspectionVCreatePasswordV;
    using InstructionsV = SafeForInspectionVInstructionsV;
    // Nothing leaves the page as it stands (a state the page has no picture for).
    using Config = std::optional<State>;

    std::shared_ptr<SafeForInspectionVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<SafeForInspectionVDelegate>& delegate);

    const std::shared_ptr<UIKit::UILabel>& explanationLabel() const { return m_explanationLabel; }
    const std::shared_ptr<CreatePasswordV>& createPasswordV() const { return m_createPasswordV; }
    const std::shared_ptr<InstructionsV>& instructionsV() const { return m_instructionsV; }
    const std::shared_ptr<UIKit::UIStackView>& actionContainer() const { return m_actionContainer; }
    const std::shared_ptr<Basalwork::PromotionButton>& actionButton() const { return m_actionButton; }
    const std::shared_ptr<UIKit::UIView>& cancelButtonContainer() const { return m_cancelButtonContainer; }
    const std::shared_ptr<UIKit::UIButton>& cancelButton() const { return m_cancelButton; }

    void update(const State& state);
    void update(const Config& config);
    void update(const Shared::Settings::Appearance& appearance) override;
    void didSelectAction();
    void didSelectCancel();

protected:
    friend Foundation::Construct;
    explicit SafeForInspectionV(const std::shared_ptr<SafeForInspectionVDelegate>& delegate);
    void initialize() override;
    void setupPage();

private:
    std::weak_ptr<SafeForInspectionVDelegate> m_delegate;
    std::shared_ptr<UIKit::UILabel> m_explanationLabel;
    std::shared_ptr<CreatePasswordV> m_createPasswordV;
    std::shared_ptr<InstructionsV> m_instructionsV;
    std::shared_ptr<UIKit::UIStackView> m_actionContainer;
    std::shared_ptr<Basalwork::PromotionButton> m_actionButton;
    std::shared_ptr<UIKit::UIView> m_cancelButtonContainer;
    std::shared_ptr<UIKit::UIButton> m_cancelButton;
};

} // namespace Corvendale
