#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Model/Settings.Appearance.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UITableViewCell.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UILabel;
}

namespace Shared {
class TermsAndPrivacyLinks;
}

namespace Corvendale {

class AppVersionCellDelegate;

// The last row of the settings list: the terms-of-use and privacy-policy links over the version text,
// which opens the debug-information sheet when clicked.
class AppVersionCell : public UIKit::UITableViewCell, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct Config {
        Foundation::String id;
        std::optional<Foundation::String> versionText;
        Shared::Settings::Appearance appearance;

        friend bool operator==(const Config&, const Config&) = default;
    };

    std::shared_ptr<AppVersionCellDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<AppVersionCellDelegate>& delegate);
    const std::shared_ptr<Shared::TermsAndPrivacyLinks>& termsAndPrivacyLinks() const { return m_termsAndPrivacyLinks; }
    const std::shared_ptr<UIKit::UILabel>& versionLabel() const { return m_versionLabel; }

    void update(const Shared::Settings::Appearance& appearance) override;
    virtual void configure(const Config& config);
    void didSelectVersionLabel();

protected:
    friend Foundation::Construct;
    AppVersionCell() = default;
    void initialize() override;
    virtual void setup();

private:
    std::weak_ptr<AppVersionCellDelegate> m_delegate;
    std::shared_ptr<Shared::TermsAndPrivacyLinks> m_termsAndPrivacyLinks;
    std::shared_ptr<UIKit::UILabel> m_versionLabel;
};

} // namespace Corvendale
