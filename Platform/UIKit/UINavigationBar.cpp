#include "Platform/UIKit/UINavigationBar.hpp"

#include "Platform/UIKit/UIBarButtonItem.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UISearchBar.hpp"
#include "Platform/UIKit/UISearchController.hpp"

#include <algorithm>

namespace UIKit {
namespace {

constexpr CGFloat margin = 8;

Foundation::String systemItemTitle(UIBarButtonItem::SystemItem item)
{
    switch (item) {
    case UIBarButtonItem::SystemItem::done: return "Done";
    case UIBarButtonItem::SystemItem::cancel: return "Cancel";
    case UIBarButtonItem::SystemItem::edit: return "Edit";
    case UIBarButtonItem::SystemItem::save: return "Save";
    case UIBarButtonItem::SystemItem::add: return "Add";
    default: return "";
    }
}

CGFloat widthOf(const UIView& view)
{
    CGFloat width = view.intrinsicContentSize().width;
    return width > 0 ? width : 44;
}

} // namespace

std::shared_ptr<UINavigationItem> UINavigationBar::topItem() const
{
    return m_items.empty() ? nullptr : m_items.back();
}

std::shared_ptr<UINavigationItem> UINavigationBar::backItem() const
{
    return m_items.size() < 2 ? nullptr : m_items[m_items.size() - 2];
}

void UINavigationBar::setItems(std::vector<std::shared_ptr<UINavigationItem>> items, bool /*animated*/)
{
    for (const auto& item : m_items)
        if (item->m_bar.lock().get() == this)
            item->m_bar.reset();
    m_items = std::move(items);
    if (auto top = topItem())
        top->m_bar = weakSelf(this);
    showTopItem();
}

void UINavigationBar::setPrefersLargeTitles(bool prefers)
{
    if (prefers == m_prefersLargeTitles)
        return;
    m_prefersLargeTitles = prefers;
    showTopItem();
}

bool UINavigationBar::showsLargeTitle() const
{
    if (!m_prefersLargeTitles)
        return false;
    for (auto item = m_items.rbegin(); item != m_items.rend(); ++item) {
        switch ((*item)->largeTitleDisplayMode()) {
        case UINavigationItem::LargeTitleDisplayMode::always: return true;
        case UINavigationItem::LargeTitleDisplayMode::never: return false;
        case UINavigationItem::LargeTitleDisplayMode::automatic: break;
        }
    }
    return true;
}

CGFloat UINavigationBar::preferredHeight() const
{
    CGFloat height = rowHeight;
    if (showsLargeTitle())
        height += rowHeight;
    if (auto top = topItem(); top && top->searchController())
        height += rowHeight;
    return height;
}

void UINavigationBar::itemDidChange(const UINavigationItem& item)
{
    if (topItem().get() == &item)
        showTopItem();
}

std::shared_ptr<UIButton> UINavigationBar::makeButton(const std::shared_ptr<UIBarButtonItem>& item)
{
    auto button = Foundation::make<UIButton>();
    Foundation::String title = item->title().value_or(item->systemItem() ? systemItemTitle(*item->systemItem()) : "");
    button->setTitle(title, UIControl::State::normal());
    button->setIsEnabled(item->isEnabled());
    button->setAccessibilityIdentifier(item->accessibilityIdentifier());
    std::weak_ptr<UIBarButtonItem> weakItem = item;
    button->addAction([weakItem] {
        if (auto item = weakItem.lock())
            item->sendAction();
    }, UIControl::Event::primaryActionTriggered());
    item->m_view = button;
    return button;
}

void UINavigationBar::showTopItem()
{
    for (const auto& view : m_itemViews)
        view->removeFromSuperview();
    m_itemViews.clear();
    m_titleLabel.reset();
    m_backButton.reset();
    const CGFloat width = bounds().size.width;
    auto top = topItem();
    if (top) {
        CGFloat left = margin;
        if (auto back = backItem(); back && !top->hidesBackButton()) {
            m_backButton = Foundation::make<UIButton>();
            m_backButton->setTitle(back->backButtonTitle().value_or(back->title().value_or("Back")), UIControl::State::normal());
            m_backButton->setAccessibilityIdentifier(Foundation::String("BackButton"));
            std::weak_ptr<UINavigationBar> weakBar = sharedSelf(this);
            m_backButton->addAction([weakBar] {
                if (auto bar = weakBar.lock(); bar && bar->m_onBack)
                    bar->m_onBack();
            }, UIControl::Event::primaryActionTriggered());
            m_itemViews.push_back(m_backButton);
        }
        for (const auto& item : top->leftBarButtonItems())
            m_itemViews.push_back(makeButton(item));
        for (const auto& view : m_itemViews) {
            view->setFrame({left, 4, widthOf(*view), rowHeight - 8});
            left += view->frame().size.width + margin;
        }
        CGFloat right = width - margin;
        for (const auto& item : top->rightBarButtonItems()) {
            auto button = makeButton(item);
            CGFloat buttonWidth = widthOf(*button);
            right -= buttonWidth;
            button->setFrame({right, 4, buttonWidth, rowHeight - 8});
            button->setAutoresizingMask(AutoresizingMask::flexibleLeftMargin());
            right -= margin;
            m_itemViews.push_back(button);
        }
        if (auto title = top->title()) {
            m_titleLabel = Foundation::make<UILabel>();
            m_titleLabel->setText(*title);
            if (showsLargeTitle())
                m_titleLabel->setFrame({margin, rowHeight, std::max(0.0, width - 2 * margin), rowHeight});
            else
                m_titleLabel->setFrame({left, 0, std::max(0.0, right - left), rowHeight});
            m_titleLabel->setAutoresizingMask(AutoresizingMask::flexibleWidth());
            m_itemViews.push_back(m_titleLabel);
        }
        if (const auto& search = top->searchController()) {
            const auto& searchBar = search->searchBar();
            searchBar->setFrame({0, preferredHeight() - rowHeight, width, rowHeight});
            searchBar->setAutoresizingMask(AutoresizingMask::flexibleWidth());
            m_itemViews.push_back(searchBar);
        }
    }
    for (const auto& view : m_itemViews)
        addSubview(view);
    if (m_onHeightChange)
        m_onHeightChange();
}

} // namespace UIKit
