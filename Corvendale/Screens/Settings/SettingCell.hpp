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

namespace Corvendale {

// A row of the settings list: a title over an explanatory subtitle; a row that needs attention shows
// its title in red.
class SettingCell : public UIKit::UITableViewCell, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct Config {
        Foundation::String id;
        std::optional<Foundation::String> titleText;
        std::optional<Foundation::String> subtitleText;
        bool isAttentionRequired = false;
        Shared::Settings::Appearance appearance;

        friend bool operator==(const Config&, const Config&) = default;
    };

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UILabel>& requiresAttentionLabel() const { return m_requiresAttentionLabel; }
    const std::shared_ptr<UIKit::UILabel>& subtitleLabel() const { return m_subtitleLabel; }

    void update(const Shared::Settings::Appearance& appearance) override;
    virtual void configure(const Config& config);
    using UITableViewCell::setIsHighlighted;
    using UITableViewCell::setIsSelected;
    void setIsHighlighted(bool highlighted, bool animated) override;
    void setIsSelected(bool selected, bool animated) override;

protected:
    friend Foundation::Construct;
    SettingCell() = default;
    void initialize() override;
    virtual void setup();
    // The background marks a highlighted or selected row.
    virtual void updateBackground(bool animated);

private:
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_requiresAttentionLabel;
    std::shared_ptr<UIKit::UILabel> m_subtitleLabel;
};

} // namespace Corvendale
