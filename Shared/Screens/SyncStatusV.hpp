#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UIActivityIndicatorView;
class UIButton;
class UILabel;
class UIScrollView;
}

namespace Shared {

struct SyncStatusVConfig;
class SyncStatusVDelegate;

// The sync status pop-over's content: what the last sync did, when one last succeeded, and the one
// action the status offers (stop, sync now, repair, replace), inside a scroll view whose content size
// the pop-over follows.
class SyncStatusV : public UIKit::UIView, public PreferenceStoreAppearanceUpdateHandling {
public:
    using Config = SyncStatusVConfig;

    ~SyncStatusV() override;

    std::shared_ptr<SyncStatusVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<SyncStatusVDelegate>& delegate) { m_delegate = delegate; }

    const std::optional<Config>& config() const;
    void setConfig(const Config& config);

    const std::shared_ptr<UIKit::UIScrollView>& scrollView() const { return m_scrollView; }
    const std::shared_ptr<UIKit::UIButton>& actionButton() const { return m_actionButton; }

    void update(const Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    // init(delegate:)
    explicit SyncStatusV(const std::shared_ptr<SyncStatusVDelegate>& delegate);

    void initialize() override;

private:
    std::weak_ptr<SyncStatusVDelegate> m_delegate;
    std::unique_ptr<std::optional<Config>> m_config; // complete only after this class
    std::shared_ptr<UIKit::UIScrollView> m_scrollView;
    std::shared_ptr<UIKit::UIActivityIndicatorView> m_activityIndicator;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_messageLabel;
    std::shared_ptr<UIKit::UILabel> m_lastSyncLabel;
    std::shared_ptr<UIKit::UIButton> m_actionButton;
};

} // namespace Shared

#include "Shared/Screens/SyncStatusV.Config.hpp"
