#include "Platform/UIKit/UIButton.hpp"

#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <algorithm>

namespace UIKit {

UIButton::UIButton()
    : m_configuration(std::make_unique<std::optional<Configuration>>())
{
}

UIButton::UIButton(const CGRect& frame)
    : UIControl(frame)
    , m_configuration(std::make_unique<std::optional<Configuration>>())
{
}

UIButton::UIButton(Foundation::NSCoder& coder)
    : UIControl(coder)
    , m_configuration(std::make_unique<std::optional<Configuration>>())
{
}

UIButton::~UIButton() = default;

std::optional<Foundation::String> UIButton::title(State forState) const
{
    if (auto found = m_titles.find(forState.rawValue); found != m_titles.end())
        return found->second;
    if (auto normal = m_titles.find(State::normal().rawValue); normal != m_titles.end())
        return normal->second;
    return std::nullopt;
}

void UIButton::setTitle(std::optional<Foundation::String> title, State forState)
{
    invalidateIntrinsicContentSize();
    if (title)
        m_titles.insert_or_assign(forState.rawValue, std::move(*title));
    else
        m_titles.erase(forState.rawValue);
}

std::shared_ptr<UILabel> UIButton::titleLabel() const
{
    if (!m_titleLabel && !m_titles.empty())
        m_titleLabel = Foundation::make<UILabel>();
    return m_titleLabel;
}

const std::optional<UIButton::Configuration>& UIButton::configuration() const
{
    return *m_configuration;
}

void UIButton::setConfiguration(std::optional<Configuration> configuration)
{
    invalidateIntrinsicContentSize();
    *m_configuration = std::move(configuration);
}

CGSize UIButton::intrinsicContentSize() const
{
    auto textSize = [](const Foundation::String& text) {
        return TextGrid::size(text, TextGrid::unlimited, NSLineBreakMode::byTruncatingTail, 1);
    };
    if (const auto& configuration = *m_configuration) {
        CGSize size;
        if (configuration->attributedTitle)
            size = textSize(configuration->attributedTitle->string());
        if (configuration->attributedSubtitle) {
            CGSize subtitle = textSize(configuration->attributedSubtitle->string());
            size = {std::max(size.width, subtitle.width), size.height + subtitle.height};
        }
        const auto& insets = configuration->contentInsets;
        return {size.width + insets.leading + insets.trailing, size.height + insets.top + insets.bottom};
    }
    auto title = currentTitle();
    if (!title || title->isEmpty())
        return {TextGrid::columnWidth, TextGrid::lineHeight};
    return textSize(*title);
}

void UIButton::endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event)
{
    UIControl::endTracking(touch, event);
    if (isTouchInside() && showsMenuAsPrimaryAction() && m_menu)
        if (auto window = this->window())
            window->showMenu(m_menu);
}

std::optional<Foundation::String> UIButton::accessibilityLabel() const
{
    if (auto label = UIControl::accessibilityLabel())
        return label;
    return currentTitle();
}

UIAccessibilityTraits UIButton::accessibilityTraits() const
{
    return withControlState(explicitAccessibilityTraits().value_or(UIAccessibilityTraits::button()));
}

} // namespace UIKit
