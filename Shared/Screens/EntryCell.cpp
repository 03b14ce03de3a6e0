#include "Shared/Screens/EntryCell.hpp"

#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/DateFormatter.Style.hpp"
#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Shared {

namespace {

// "Last used" and when, as the row shows an item AutoFill handed over.
Foundation::String lastUsedText(Foundation::Date date)
{
    static const auto formatter = [] {
        auto formatter = Foundation::make<Foundation::DateFormatter>();
        formatter->setDateStyle(Foundation::DateFormatter::Style::medium);
        formatter->setTimeStyle(Foundation::DateFormatter::Style::short_);
        return formatter;
    }();
    return Foundation::String("Last used " + formatter->string(date).utf8());
}

} // namespace

void EntryCell::configure(const EntryIndex& index, Settings::Items::ListStyle style, const Settings::Appearance& appearance)
{
    using Foundation::String;
    m_titleLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::body(), false));
    m_subtitleLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
    auto title = index.title.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines());
    // Control characters would break the row's one line; an empty title still shows something.
    title = title.isEmpty() ? String("Untitled") : Foundation::joined(title.components(Foundation::CharacterSet::controlCharacters()), " ");
    m_titleLabel->setText(String((index.isFavorite ? "★ " : "") + title.utf8() + (index.hasAttachments ? " 📎" : "")));
    bool showsSubtitle = style == Settings::Items::ListStyle::standard || style == Settings::Items::ListStyle::compactWithSubtitle;
    auto subtitle = Foundation::joined(index.subtitle.components(Foundation::CharacterSet::controlCharacters()), " ");
    // With the item's last use by AutoFill.
    if (index.lastUsedAt)
        subtitle = String((subtitle.isEmpty() ? "" : subtitle.utf8() + " · ") + lastUsedText(*index.lastUsedAt).utf8());
    m_subtitleLabel->setText(subtitle);
    m_subtitleLabel->setIsHidden(!showsSubtitle || subtitle.isEmpty());
}

void EntryCell::initialize()
{
    UITableViewCell::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_subtitleLabel = Foundation::make<UIKit::UILabel>();
    m_subtitleLabel->setTextColor(UIColors::secondaryTint());
    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    stack->addArrangedSubview(m_titleLabel);
    stack->addArrangedSubview(m_subtitleLabel);
    stack->setFrame(contentView()->bounds());
    stack->setAutoresizingMask(UIKit::UIView::AutoresizingMask::flexibleWidth() | UIKit::UIView::AutoresizingMask::flexibleHeight());
    contentView()->addSubview(stack);
}

} // namespace Shared
