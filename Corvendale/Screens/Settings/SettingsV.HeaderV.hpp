#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace UIKit {
class UIButton;
class UIKeyCommand;
class UILabel;
class UIStackView;
} // namespace UIKit

namespace Corvendale {

class SettingsV_HeaderV_Delegate;

// SettingsV.HeaderV: the large title and the Done button on top of the settings screen and of every
// settings page. It takes the keyboard when made, so that Escape reaches it.
class SettingsVHeaderV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    std::shared_ptr<SettingsV_HeaderV_Delegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<SettingsV_HeaderV_Delegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UIButton>& doneButton() const { return m_doneButton; }

    std::optional<Foundation::String> title() const;
    void setTitle(std::optional<Foundation::String> title);

    void update(const Shared::Settings::Appearance& appearance) override;
    bool canBecomeFirstResponder() const override { return true; }
    void didMoveToWindow() override;
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    void didSelectDone();

protected:
    friend Foundation::Construct;
    SettingsVHeaderV();
    void initialize() override;
    virtual void setup();

private:
    std::weak_ptr<SettingsV_HeaderV_Delegate> m_delegate;
    std::shared_ptr<UIKit::UIStackView> m_contentContainer;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UIButton> m_doneButton;
};

} // namespace Corvendale
