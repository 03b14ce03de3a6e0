#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace Shared {
class FileURLInput;
}

namespace UIKit {
class UILabel;
}

namespace Corvendale {

class BackupRestoreV_BackupLocationV_Delegate;

// BackupRestoreV.BackupLocationV: the folder encrypted backups go to.
class BackupRestoreVBackupLocationV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    std::shared_ptr<BackupRestoreV_BackupLocationV_Delegate> delegate() const { return m_delegate.lock(); }
    // Also the file input's delegate.
    void setDelegate(const std::shared_ptr<BackupRestoreV_BackupLocationV_Delegate>& delegate);
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<Shared::FileURLInput>& fileURLInput() const { return m_fileURLInput; }

    std::optional<Foundation::String> locationText() const;
    void setLocationText(std::optional<Foundation::String> text);

    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    BackupRestoreVBackupLocationV();
    void initialize() override;

private:
    std::weak_ptr<BackupRestoreV_BackupLocationV_Delegate> m_delegate;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<Shared::FileURLInput> m_fileURLInput;
};

} // namespace Corvendale
