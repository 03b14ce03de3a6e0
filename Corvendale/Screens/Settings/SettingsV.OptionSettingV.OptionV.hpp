#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Model/Setting.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/BorderShadowableView.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIFocusItem.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITapGestureRecognizer.hpp"
#include "Platform/UIKit/TextGrid.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace Corvendale {

// SettingsV.OptionSettingV.OptionV: one option of an option list. A tap anywhere on it, or on its clear
// button, is reported through the closures; the highlight is set by the list. The options of a list are
// one focus group, so the keyboard reaches them as one stop and moves among them with the arrows.
template <Shared::SettingType T>
class SettingsVOptionSettingVOptionV : public Basalwork::BorderShadowableView,
                                       public Shared::PreferenceStoreAppearanceUpdateHandling,
                                       public UIKit::UIFocusItem {
public:
    std::function<void(const T&)> onSelect;
    std::function<void(const T&)> onClear;

    const T& option() const { return m_option; }
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UILabel>& subtitleLabel() const { return m_subtitleLabel; }
    const std::shared_ptr<UIKit::UIButton>& clearButton() const { return m_clearButton; }

    void didSelectOption()
    {
        if (onSelect)
            onSelect(m_option);
    }
    void didSelectClear()
    {
        if (onClear)
            onClear(m_option);
    }

    std::optional<Foundation::String> titleText() const { return m_titleLabel->text(); }
    void setTitleText(std::optional<Foundation::String> text) { m_titleLabel->setText(std::move(text)); }

    bool isTitleMonospaced() const { return m_isTitleMonospaced; }
    void setIsTitleMonospaced(bool monospaced)
    {
        m_isTitleMonospaced = monospaced;
        setNeedsAppearanceUpdate();
    }

    bool isClearButtonVisible() const { return Basalwork::isVisible(*m_clearButtonContainer); }
    void setIsClearButtonVisible(bool visible) { Basalwork::setVisibilityAndAlpha(*m_clearButtonContainer, visible); }

    bool isHighlighted() const { return m_isHighlighted; }
    void setIsHighlighted(bool highlighted)
    {
        if (m_isHighlighted == highlighted)
            return;
        m_isHighlighted = highlighted;
        updateHighlight();
    }

    void setFocusGroupIdentifier(std::optional<Foundation::String> identifier) { m_focusGroupIdentifier = std::move(identifier); }
    std::optional<Foundation::String> focusGroupIdentifier() const override { return m_focusGroupIdentifier; }
    // The keyboard enters a list at its selected option.
    std::int64_t focusGroupPriority() const override
    {
        return m_isHighlighted ? UIKit::UIFocusGroupPriority::prioritized : UIKit::UIFocusGroupPriority::ignored;
    }

    void update(const Shared::Settings::Appearance& appearance) override
    {
        m_titleLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), m_isTitleMonospaced));
        m_subtitleLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
    }

protected:
    friend Foundation::Construct;
    explicit SettingsVOptionSettingVOptionV(T option)
        : m_option(std::move(option))
    {
    }

    void initialize() override
    {
        BorderShadowableView::initialize();
        m_titleLabel = Foundation::make<UIKit::UILabel>();
        m_subtitleLabel = Foundation::make<UIKit::UILabel>();
        m_clearButtonContainer = Foundation::make<UIKit::UIStackView>();
        m_clearButton = Foundation::make<UIKit::UIButton>();
        setup();
        registerForPreferenceStoreDidUpdateAppearanceNotifications();
    }

    virtual void setup()
    {
        using Axis = UIKit::NSLayoutConstraint::Axis;
        setAccessibilityIdentifier(Foundation::String("OptionV"));
        setCornerRadius(10);
        std::weak_ptr<SettingsVOptionSettingVOptionV> weakSelf = this->sharedSelf(this);
        addGestureRecognizer(Foundation::make<UIKit::UITapGestureRecognizer>([weakSelf](UIKit::UIGestureRecognizer&) {
            if (auto self = weakSelf.lock())
                self->didSelectOption();
        }));

        auto stack = Basalwork::UIStackViews::withAxis(Axis::horizontal, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 12);
        // Rows a whole number of the display's lines tall: rows a fraction of a line more would put an
        // extra blank line between some of them and not others. Twelve points above keep the text off a
        // line's middle (the page's positions are multiples of four), so every row rounds the same way.
        constexpr UIKit::CGFloat above = 12;
        Basalwork::addSubviewWithEdgeContraints(*this, stack, Basalwork::LayoutInsets(12, 12, above, UIKit::TextGrid::lineHeight - above));

        m_titleLabel->setText(Shared::titleText(m_option));
        m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
        m_titleLabel->setNumberOfLines(0);
        Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
        stack->addArrangedSubview(m_titleLabel);

        m_subtitleLabel->setText(Shared::subtitleText(m_option));
        m_subtitleLabel->setNumberOfLines(1);
        m_subtitleLabel->setTextColor(Shared::UIColors::secondaryTint());
        m_subtitleLabel->setContentHuggingPriority(UIKit::UILayoutPriority {900}, Axis::horizontal);
        m_subtitleLabel->setContentCompressionResistancePriority(UIKit::UILayoutPriority {900}, Axis::horizontal);
        Basalwork::registerForPreferredContentSizeCategoryChanges(m_subtitleLabel);
        stack->addArrangedSubview(m_subtitleLabel);

        Basalwork::set(*m_clearButtonContainer, Axis::horizontal, UIKit::UIStackView::Alignment::center, UIKit::UIStackView::Distribution::fill, 0);
        stack->addArrangedSubview(m_clearButtonContainer);

        // The multiply sign stands for the clear glyph: the terminal shows text, not images.
        m_clearButton->setTitle(Foundation::String("\u00D7"), UIKit::UIControl::State::normal());
        m_clearButton->setAccessibilityLabel(Foundation::String("Clear"));
        m_clearButton->setTintColor(Shared::UIColors::secondaryTint());
        Basalwork::registerForPreferredContentSizeCategoryChanges(m_clearButton);
        m_clearButton->setContentHuggingPriority(UIKit::UILayoutPriority {910}, Axis::horizontal);
        m_clearButton->setContentCompressionResistancePriority(UIKit::UILayoutPriority {910}, Axis::horizontal);
        // The glyph's square without the image's margins: one line of the display, as the text beside it.
        Basalwork::constrain(*m_clearButton, UIKit::TextGrid::lineHeight, UIKit::UILayoutPriority::required(), 1, UIKit::UILayoutPriority::required());
        m_clearButton->addAction(
            [weakSelf] {
                if (auto self = weakSelf.lock())
                    self->didSelectClear();
            },
            UIKit::UIControl::Event::touchUpInside());
        m_clearButtonContainer->addArrangedSubview(m_clearButton);

        updateHighlight();
    }

    virtual void updateHighlight() { setBackgroundColor(m_isHighlighted ? Shared::UIColors::tertiaryBackground() : nullptr); }

private:
    T m_option;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_subtitleLabel;
    std::shared_ptr<UIKit::UIStackView> m_clearButtonContainer;
    std::shared_ptr<UIKit::UIButton> m_clearButton;
    bool m_isTitleMonospaced = false;
    bool m_isHighlighted = false;
    std::optional<Foundation::String> m_focusGroupIdentifier;
};

} // namespace Corvendale
