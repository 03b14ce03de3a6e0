#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Basalwork/Interface/BorderShadowableView.hpp"

#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace UIKit {
class UIEvent;
class UILabel;
class UITouch;
} // namespace UIKit

namespace Corvendale {

class InAppNotificationVDelegate;

// The banner itself: a capsule with a title and an optional subtitle below it.
class InAppNotificationV : public Basalwork::BorderShadowableView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct Config {
        Foundation::String titleText;
        std::optional<Foundation::String> subtitleText;
    };

    std::shared_ptr<InAppNotificationVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<InAppNotificationVDelegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UILabel>& subtitleLabel() const { return m_subtitleLabel; }

    virtual void configure(const Config& config);
    // A pan over the banner: every time it moves, whatever the direction.
    void didPanOrScrollUp();
    void touchesMoved(const std::vector<std::shared_ptr<UIKit::UITouch>>& touches, const std::shared_ptr<UIKit::UIEvent>& event) override;

    void update(const Shared::Settings::Appearance& appearance) override;
    void layoutSubviews() override;

protected:
    friend Foundation::Construct;
    InAppNotificationV();
    void initialize() override;
    virtual void setUpViews();

private:
    std::weak_ptr<InAppNotificationVDelegate> m_delegate;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_subtitleLabel;
};

} // namespace Corvendale
