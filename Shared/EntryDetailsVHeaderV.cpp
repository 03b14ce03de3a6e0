#include "Shared/EntryDetailsVHeaderV.hpp"

#include "Shared/EntryDetailsVC.State.hpp"
#include "Shared/EntryDetailsVHeaderVDelegate.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Shared {

using Foundation::String;
using HeaderItem = MenuSource::HeaderItem;

void EntryDetailsVHeaderV::initialize()
{
    UIView::initialize();
    setAccessibilityIdentifier(String("EntryDetailsVHeaderV"));
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_titleLabel->setAccessibilityIdentifier(String("EntryDetailsVHeaderV.title"));
    m_titleLabel->setLineBreakMode(UIKit::NSLineBreakMode::byTruncatingTail);
    m_buttons = Foundation::make<UIKit::UIStackView>();
    m_buttons->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
    m_buttons->setSpacing(10);
    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    stack->setSpacing(4);
    stack->addArrangedSubview(m_titleLabel);
    stack->addArrangedSubview(m_buttons);
    Basalwork::addSubviewWithEdgeContraints(*this, stack, Basalwork::LayoutInsets::withAll(10));
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
    m_buttons->addArrangedSubview(button);
    return button;
}

void EntryDetailsVHeaderV::show(const EntryDetailsVCState& state, bool isMainWindowPinned)
{
    for (const auto& view : m_buttons->arrangedSubviews()) {
        m_buttons->removeArrangedSubview(view);
        view->removeFromSuperview();
    }
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
}

std::vector<Foundation::String> EntryDetailsVHeaderV::buttonTitles() const
{
    std::vector<Foundation::String> titles;
    for (const auto& view : m_buttons->arrangedSubviews())
        if (auto button = std::dynamic_pointer_cast<UIKit::UIButton>(view))
            titles.push_back(button->currentTitle().value_or(String()));
    return titles;
}

} // namespace Shared
