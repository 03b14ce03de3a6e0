#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace UIKit {
class UILabel;
class UIStackView;
} // namespace UIKit

namespace Basalwork {
class PromotionButton;
}

namespace Corvendale {

// SettingsV.ActionV: a title and a longer subtitle that explain an action, over one large button that
// performs it. Labels without visible text are hidden; the button always shows.
class SettingsVActionV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    std::function<void()> onSelection;

    const std::shared_ptr<UIKit::UIStackView>& titleAndSubtitleContainer() const { return m_titleAndSubtitleContainer; }
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UILabel>& subtitleLabel() const { return m_subtitleLabel; }
    const std::shared_ptr<Basalwork::PromotionButton>& actionButton() const { return m_actionButton; }

    std::optional<Foundation::String> titleText() const;
    void setTitleText(std::optional<Foundation::String> text);
    std::optional<Foundation::String> subtitleText() const;
    void setSubtitleText(std::optional<Foundation::String> text);
    std::optional<Foundation::String> actionTitleText() const;
    void setActionTitleText(std::optional<Foundation::String> text);
    std::optional<Foundation::String> actionSubtitleText() const;
    void setActionSubtitleText(std::optional<Foundation::String> text);
    // Owners that write a label's text directly run it afterwards.
    void updateVisibility();

    void didSelectAction();
    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    SettingsVActionV();
    void initialize() override;
    virtual void setup();

private:
    std::shared_ptr<UIKit::UIStackView> m_titleAndSubtitleContainer;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_subtitleLabel;
    std::shared_ptr<Basalwork::PromotionButton> m_actionButton;
};

} // namespace Corvendale
