#include "Shared/Screens/EntryDetailsVHeaderV.hpp"

#include "Shared/Screens/EntryDetailsVC.State.hpp"
#include "Shared/Screens/EntryDetailsVHeaderVDelegate.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Shared {

using Foundation::String;
using HeaderItem = MenuSource::HeaderItem;

namespace {

constexpr UIKit::CGFloat buttonSpacing = 10;
constexpr UIKit::CGFloat headerInset = 10;

} // namespace

void EntryDetailsVHeaderV::initialize()
{
    UIView::initialize();
    setAccessibilityIdentifier(String("EntryDetailsVHeaderV"));
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_titleLabel->setAccessibilityIdentifier(String("EntryDetailsVHeaderV.title"));
    m_titleLabel->setLineBreakMode(UIKit::NSLineBreakMode::byTruncatingTail);
    m_rows = Foundation::make<UIKit::UIStackView>();
    m_rows->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    stack->setSpacing(4);
    stack->addArrangedSubview(m_titleLabel);
    stack->addArrangedSubview(m_rows);
    Basalwork::addSubviewWithEdgeContraints(*this, stack, Basalwork::LayoutInsets::withAll(headerInset));
}

std::shared_ptr<UIKit::UIButton> EntryDetailsVHeaderV::addButton(const char* title,
                                                                 std::function<void(EntryDetailsVHeaderV&, const std::shared_ptr<UIKit::UIButton>&)> action)
{
    auto button = Foundation::make<UIKit::UIButton>();
    button->setTitle(String(title), UIKit::UIControl::State::normal());
    std::weak_ptr<EntryDetailsVHeaderV> weak = sharedSelf(this);
    std::weak_ptr<UIKit::UIButton> weakButton = button;
    button->addAction(
        [weak, weakButton, action] {
            auto self = weak.lock();
            auto button = weakButton.lock();
            if (self && button)
                action(*self, button);
        },
        UIKit::UIControl::Event::primaryActionTriggered());
    m_buttons.push_back(button);
    return button;
}

void EntryDetailsVHeaderV::arrangeButtons(UIKit::CGFloat width)
{
    m_arrangedWidth = width;
    for (const auto& row : m_rows->arrangedSubviews()) {
        m_rows->removeArrangedSubview(row);
        row->removeFromSuperview();
    }
    std::shared_ptr<UIKit::UIStackView> row;
    UIKit::CGFloat used = 0;
    for (const auto& button : m_buttons) {
        const auto buttonWidth = button->intrinsicContentSize().width;
        if (!row || (width > 0 && used > 0 && used + buttonSpacing + buttonWidth > width)) {
            row = Foundation::make<UIKit::UIStackView>();
            row->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
            row->setSpacing(buttonSpacing);
            m_rows->addArrangedSubview(row);
            used = 0;
        }
        used += (used > 0 ? buttonSpacing : 0) + buttonWidth;
        row->addArrangedSubview(button);
    }
}

void EntryDetailsVHeaderV::layoutSubviews()
{
    const auto width = bounds().size.width - 2 * headerInset;
    if (width != m_arrangedWidth) {
        const auto rowsBefore = m_rows->arrangedSubviews().size();
        arrangeButtons(width);
        // A header that grows or shrinks moves what lies under it.
        if (auto parent = superview(); parent && m_rows->arrangedSubviews().size() != rowsBefore)
            parent->setNeedsLayout();
    }
    UIView::layoutSubviews();
}

void EntryDetailsVHeaderV::show(const EntryDetailsVCState& state, bool isMainWindowPinned)
{
    for (const auto& button : m_buttons)
        button->removeFromSuperview();
    m_buttons.clear();
    using Delegate = EntryDetailsVHeaderVDelegate;
    auto tellDelegate = [](void (Delegate::*requirement)(EntryDetailsVHeaderV&)) {
        return [requirement](EntryDetailsVHeaderV& header, const std::shared_ptr<UIKit::UIButton>&) {
            if (auto delegate = header.delegate())
                ((*delegate).*requirement)(header);
        };
    };
    auto item = [](HeaderItem headerItem) {
        return [headerItem](EntryDetailsVHeaderV& header, const std::shared_ptr<UIKit::UIButton>& button) {
            if (header.onHeaderItem)
                header.onHeaderItem(MenuSource::header(headerItem), button);
        };
    };

    auto entry = state.entry();
    m_titleLabel->setText(entry ? (entry->title.isEmpty() ? String("Untitled") : entry->title) : String());
    const auto* viewing = state.as<EntryDetailsVCState::Viewing>();
    const auto* editing = state.editingPayload();
    auto backButton = viewing ? viewing->backButton : editing ? editing->backButton : EntryDetailsVCBackButtonVisibility::hidden;
    if (backButton == EntryDetailsVCBackButtonVisibility::visible)
        addButton("Back", tellDelegate(&Delegate::didSelectDismiss));
    if (viewing && entry) {
        // A trashed item is only read until it is restored.
        if (!entry->isTrashed())
            addButton("Edit", tellDelegate(&Delegate::didSelectEdit));
        if (entry->isTrashed()) {
            addButton("Restore", tellDelegate(&Delegate::didSelectRestore));
            addButton("Delete Permanently", item(HeaderItem::deletePermanently));
        } else {
            addButton(entry->isFavorite ? "Unfavorite" : "Favorite", item(entry->isFavorite ? HeaderItem::unfavorite : HeaderItem::favorite));
            addButton("Duplicate", item(HeaderItem::duplicate));
            addButton("Share", item(HeaderItem::share));
            addButton(entry->isArchived ? "Unarchive" : "Archive", item(entry->isArchived ? HeaderItem::unarchive : HeaderItem::archive));
            addButton("Move to Trash", item(HeaderItem::moveToTrash));
        }
    } else if (editing) {
        if (state.is<EntryDetailsVCState::Editing>())
            addButton("Cancel", tellDelegate(&Delegate::didSelectCancel));
        addButton("Done", tellDelegate(&Delegate::didSelectDone));
        if (entry && state.is<EntryDetailsVCState::Editing>()) {
            addButton(entry->isFavorite ? "Unfavorite" : "Favorite", item(entry->isFavorite ? HeaderItem::unfavorite : HeaderItem::favorite));
            addButton("Duplicate", item(HeaderItem::duplicate));
            addButton(entry->isArchived ? "Unarchive" : "Archive", item(entry->isArchived ? HeaderItem::unarchive : HeaderItem::archive));
            addButton("Move to Trash", item(HeaderItem::moveToTrash));
        }
    }
    addButton("Lock", tellDelegate(&Delegate::didSelectLock));
    addButton(isMainWindowPinned ? "Unpin Window" : "Pin Window", tellDelegate(&Delegate::didSelectPinWindow))->setIsEnabled(m_canPinMainWindow);
    arrangeButtons(m_arrangedWidth);
}

std::vector<Foundation::String> EntryDetailsVHeaderV::buttonTitles() const
{
    std::vector<Foundation::String> titles;
    for (const auto& button : m_buttons)
        titles.push_back(button->currentTitle().value_or(String()));
    return titles;
}

} // namespace Shared
