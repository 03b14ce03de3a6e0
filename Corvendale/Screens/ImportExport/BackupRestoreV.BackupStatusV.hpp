#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace Basalwork {
class PromotionButton;
}

namespace UIKit {
class UIButton;
}

namespace Corvendale {

class BackupRestoreV_BackupStatusV_Delegate;

// BackupRestoreV.BackupStatusV: the backup button, which says how the last backup went, and the
// restore button under it.
class BackupRestoreVBackupStatusV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct Config {
        Foundation::String actionTitleText;
        std::optional<Foundation::String> actionSubtitleText;
        bool isActionEnabled = false;
        bool isRestoreEnabled = false;
        friend bool operator==(const Config&, const Config&) = default;
    };

    std::shared_ptr<BackupRestoreV_BackupStatusV_Delegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<BackupRestoreV_BackupStatusV_Delegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<Basalwork::PromotionButton>& actionButton() const { return m_actionButton; }
    const std::shared_ptr<UIKit::UIButton>& restoreButton() const { return m_restoreButton; }

    void update(const Config& config);
    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    BackupRestoreVBackupStatusV();
    void initialize() override;

private:
    std::weak_ptr<BackupRestoreV_BackupStatusV_Delegate> m_delegate;
    std::shared_ptr<Basalwork::PromotionButton> m_actionButton;
    std::shared_ptr<UIKit::UIView> m_restoreContainer;
    std::shared_ptr<UIKit::UIButton> m_restoreButton;
};

} // namespace Corvendale
