#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Basalwork/Interface/KeyboardNotificationHandling.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace UIKit {
class UIKeyCommand;
class UIScrollView;
class UIStackView;
} // namespace UIKit

namespace Corvendale {

class SettingsVHeaderV;

// The frame every settings, import, export and backup page shares: the page header on top and, below
// it, a vertically scrolling column of the page's sections, kept clear of the keyboard.
//
// A page view derives from it, adds a weak delegate of its own protocol (which inherits
// SettingsV_HeaderV_Delegate and is handed on to the header), a nested `Config` value with the page's
// content and `update(config)`, and in `initialize`, after this class's, runs `setupPage()`: the header's
// title, then the sections appended to `contentContainer()` in display order.
class SettingsPageV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling, public Basalwork::KeyboardNotificationHandling {
public:
    const std::shared_ptr<SettingsVHeaderV>& headerV() const { return m_headerV; }
    const std::shared_ptr<UIKit::UIScrollView>& scrollView() const { return m_scrollView; }
    const std::shared_ptr<UIKit::UIStackView>& contentContainer() const { return m_contentContainer; }

    void update(const Shared::Settings::Appearance& appearance) override;
    void keyboardWillShow(const Foundation::Notification& notification) override;
    void keyboardWillHide(const Foundation::Notification& notification) override;
    // Hovering and scrolling count as activity against the auto-lock timer.
    void didHover();
    void scrollViewDidScroll(UIKit::UIScrollView& scrollView);
    // Escape closes the page as the header's Done does, also while the focus is on the page's sections,
    // out of the header's reach.
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    void didSelectDone();

protected:
    friend Foundation::Construct;
    SettingsPageV();
    void initialize() override;
    virtual void setup();

private:
    std::shared_ptr<SettingsVHeaderV> m_headerV;
    std::shared_ptr<UIKit::UIScrollView> m_scrollView;
    std::shared_ptr<UIKit::UIStackView> m_contentContainer;
};

} // namespace Corvendale
