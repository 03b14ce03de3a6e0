#pragma once

#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.OptionV.hpp"

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Model/Setting.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Corvendale {

// SettingsV.OptionSettingV: a question over one row per option of a setting. It never changes its own
// selection: a tap is reported through `onSelection`, and the highlight moves when the owner assigns
// `selected` again. With `onClear` set the list collapses to the selected option, which then carries
// a clear button; options the owner declares unavailable are hidden.
template <Shared::SettingType T>
class SettingsVOptionSettingV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    using OptionV = SettingsVOptionSettingVOptionV<T>;
    enum class SelectionMode { alwaysShowAvailableOptions, showOnlySelectedOption };

    std::function<void(const T&)> onSelection;
    std::function<void()> onClear;
    std::function<bool(const T&)> isAvailableOverride;

    SelectionMode selectionMode() const { return onClear ? SelectionMode::showOnlySelectedOption : SelectionMode::alwaysShowAvailableOptions; }
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::vector<std::shared_ptr<OptionV>>& optionVs() const { return m_optionVs; }

    std::optional<Foundation::String> titleText() const { return m_titleLabel->text(); }
    void setTitleText(std::optional<Foundation::String> text) { m_titleLabel->setText(std::move(text)); }

    bool isOptionTitleMonospaced() const { return m_isOptionTitleMonospaced; }
    void setIsOptionTitleMonospaced(bool monospaced)
    {
        m_isOptionTitleMonospaced = monospaced;
        for (const auto& optionV : m_optionVs)
            optionV->setIsTitleMonospaced(monospaced);
    }

    // Replaces the titles the setting gives; none shows an empty title.
    void updateOptionTitles(const std::function<std::optional<Foundation::String>(const T&)>& using_)
    {
        for (const auto& optionV : m_optionVs)
            optionV->setTitleText(using_(optionV->option()));
    }

    const std::optional<T>& selected() const { return m_selected; }
    // Every assignment refreshes the rows, also one of the same value.
    void setSelected(std::optional<T> selected)
    {
        m_selected = std::move(selected);
        updateSelection();
    }

    void update(const Shared::Settings::Appearance& appearance) override
    {
        m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
    }

protected:
    friend Foundation::Construct;
    SettingsVOptionSettingV()
        : UIView(UIKit::CGRect::zero())
    {
    }

    void initialize() override
    {
        UIView::initialize();
        m_titleLabel = Foundation::make<UIKit::UILabel>();
        for (const auto& option : Shared::allOptions<T>())
            m_optionVs.push_back(Foundation::make<OptionV>(option));
        setup();
        // No clear button shows before the owner first assigns a selection.
        updateSelection();
        registerForPreferenceStoreDidUpdateAppearanceNotifications();
    }

    virtual void setup()
    {
        using Axis = UIKit::NSLayoutConstraint::Axis;
        using Alignment = UIKit::UIStackView::Alignment;
        using Distribution = UIKit::UIStackView::Distribution;
        setAccessibilityIdentifier(Foundation::String("OptionSettingV"));
        setBackgroundColor(UIKit::UIColor::clear());
        auto stack = Basalwork::UIStackViews::withAxis(Axis::vertical, Alignment::fill, Distribution::fill, 8);
        Basalwork::addSubviewWithEdgeContraints(*this, stack);

        m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
        m_titleLabel->setNumberOfLines(0);
        Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
        stack->addArrangedSubview(m_titleLabel);

        auto options = Basalwork::UIStackViews::withAxis(Axis::vertical, Alignment::fill, Distribution::fill, 0);
        stack->addArrangedSubview(options);
        std::weak_ptr<SettingsVOptionSettingV> weakSelf = this->sharedSelf(this);
        // One group per list, told apart by the list's address while it lives.
        const Foundation::String group("OptionSettingV." + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        for (const auto& optionV : m_optionVs) {
            optionV->setFocusGroupIdentifier(group);
            optionV->onSelect = [weakSelf](const T& option) {
                if (auto self = weakSelf.lock(); self && self->onSelection)
                    self->onSelection(option);
            };
            optionV->onClear = [weakSelf](const T&) {
                if (auto self = weakSelf.lock(); self && self->onClear)
                    self->onClear();
            };
            options->addArrangedSubview(optionV);
        }
    }

private:
    void updateSelection()
    {
        const bool collapses = onClear && m_selected;
        for (const auto& optionV : m_optionVs) {
            const bool isSelected = m_selected && *m_selected == optionV->option();
            optionV->setIsHighlighted(isSelected);
            const bool isAvailable = isAvailableOverride ? isAvailableOverride(optionV->option()) : true;
            if (collapses) {
                optionV->setIsClearButtonVisible(isSelected);
                Basalwork::setVisibilityAndAlpha(*optionV, isSelected && isAvailable);
            } else {
                optionV->setIsClearButtonVisible(false);
                Basalwork::setVisibilityAndAlpha(*optionV, isAvailable);
            }
        }
    }

    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::vector<std::shared_ptr<OptionV>> m_optionVs;
    bool m_isOptionTitleMonospaced = false;
    std::optional<T> m_selected;
};

// Appends to a page a list whose choice goes to the page's delegate as `didSelect(value, page)`; the
// list holds the page weakly.
template <Shared::SettingType T, class Page>
std::shared_ptr<SettingsVOptionSettingV<T>> addOptionList(const std::shared_ptr<Page>& page, const Foundation::String& question)
{
    auto list = Foundation::make<SettingsVOptionSettingV<T>>();
    list->setTitleText(question);
    std::weak_ptr<Page> weakPage = page;
    list->onSelection = [weakPage](const T& value) {
        auto self = weakPage.lock();
        if (auto delegate = self ? self->delegate() : nullptr)
            delegate->didSelect(value, *self);
    };
    page->contentContainer()->addArrangedSubview(list);
    return list;
}

} // namespace Corvendale
