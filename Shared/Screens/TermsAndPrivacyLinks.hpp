#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {
class UIButton;
}

namespace Shared {

class TermsAndPrivacyLinksDelegate;

// Two links side by side, "Terms of Use" and "Privacy Policy", in the view's tint colour. It opens
// nothing itself: the delegate does.
class TermsAndPrivacyLinks : public UIKit::UIView, public PreferenceStoreAppearanceUpdateHandling {
public:
    std::shared_ptr<TermsAndPrivacyLinksDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<TermsAndPrivacyLinksDelegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<UIKit::UIButton>& termsOfUseButton() const { return m_termsOfUseButton; }
    const std::shared_ptr<UIKit::UIButton>& privacyPolicyButton() const { return m_privacyPolicyButton; }

    void setTintColor(std::shared_ptr<UIKit::UIColor> color) override;
    void update(const Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    TermsAndPrivacyLinks();
    void initialize() override;

private:
    std::weak_ptr<TermsAndPrivacyLinksDelegate> m_delegate;
    std::shared_ptr<UIKit::UIButton> m_termsOfUseButton;
    std::shared_ptr<UIKit::UIButton> m_privacyPolicyButton;
};

} // namespace Shared
