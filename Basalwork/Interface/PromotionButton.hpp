#pragma once

#include "Basalwork/Interface/BorderShadowableControl.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// A large call-to-action button: a centred title with an optional subtitle below, filled with the tint
// colour, dimmed while pressed and greyed when disabled. The owner constrains it.
class PromotionButton : public BorderShadowableControl, public PreferredContentSizeCategoryFontUpdateable {
public:
    std::optional<Foundation::String> titleText() const { return m_titleLabel->text(); }
    void setTitleText(std::optional<Foundation::String> text) { m_titleLabel->setText(std::move(text)); }
    std::shared_ptr<UIKit::UIFont> titleFont() const { return m_titleLabel->font(); }
    void setTitleFont(std::shared_ptr<UIKit::UIFont> font) { m_titleLabel->setFont(std::move(font)); }
    std::shared_ptr<UIKit::UIColor> titleTextColor() const { return m_titleLabel->textColor(); }
    void setTitleTextColor(std::shared_ptr<UIKit::UIColor> color) { m_titleLabel->setTextColor(std::move(color)); }

    std::optional<Foundation::String> subtitleText() const { return m_subtitleLabel->text(); }
    // An absent subtitle hides its row, so the stack's spacing goes with it.
    void setSubtitleText(std::optional<Foundation::String> text);
    std::shared_ptr<UIKit::UIFont> subtitleFont() const { return m_subtitleLabel->font(); }
    void setSubtitleFont(std::shared_ptr<UIKit::UIFont> font) { m_subtitleLabel->setFont(std::move(font)); }
    std::shared_ptr<UIKit::UIColor> subtitleTextColor() const { return m_subtitleLabel->textColor(); }
    void setSubtitleTextColor(std::shared_ptr<UIKit::UIColor> color)
    {
        m_subtitleLabel->setTextColor(std::move(color));
    }

    // The title's font, then the subtitle's; a missing entry gives that label its default font.
    UpdateableFonts updateableFonts() const override;
    void setUpdateableFonts(const UpdateableFonts& fonts) override;

    // The view's fill; the private overload below picks it for a state.
    using BorderShadowableControl::backgroundColor;

    void setIsEnabled(bool enabled) override;
    void setIsHighlighted(bool highlighted) override;

    void didMoveToWindow() override;
    void awakeFromNib() override;
    void prepareForInterfaceBuilder() override;

protected:
    friend Foundation::Construct;
    explicit PromotionButton(const UIKit::CGRect& frame = UIKit::CGRect::zero());
    // Set up like one made in code; `awakeFromNib` sets it up once more.
    explicit PromotionButton(Foundation::NSCoder& coder);
    void initialize() override;

private:
    void setup();
    void updateAppearance();
    std::shared_ptr<UIKit::UIColor> backgroundColor(UIKit::UIControl::State state) const;

    std::shared_ptr<UIKit::UIStackView> m_contentContainer = Foundation::make<UIKit::UIStackView>();
    std::shared_ptr<UIKit::UILabel> m_titleLabel = Foundation::make<UIKit::UILabel>();
    std::shared_ptr<UIKit::UILabel> m_subtitleLabel = Foundation::make<UIKit::UILabel>();
};

} // namespace Basalwork
