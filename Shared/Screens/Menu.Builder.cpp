#include "Shared/Screens/Menu.Builder.hpp"

#include "Shared/Model/Setting.hpp"

#include "Platform/Foundation/UUID.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIImage.hpp"
#include "Platform/UIKit/UIMenu.hpp"

#include <string>

namespace Shared {

namespace {

using UIKit::UIMenu;
using UIKit::UIMenuElement;

std::shared_ptr<UIMenu> inlineMenu(Foundation::String title, std::vector<std::shared_ptr<UIMenuElement>> children, UIMenu::Options options = {})
{
    UIMenu::Identifier identifier {"com.corvendale.menu." + Foundation::UUID().uuidString()};
    return Foundation::make<UIMenu>(std::move(title), identifier, UIMenu::Options::displayInline() | options, std::move(children));
}

std::shared_ptr<UIMenu> inlineSection(std::vector<std::shared_ptr<UIMenuElement>> children, UIMenu::Options options = {})
{
    return inlineMenu(Foundation::String(), std::move(children), options);
}

} // namespace

MenuBuilder::Element::Element(MenuAction action)
    : m_case(Action {std::move(action)})
{
}

MenuBuilder::Element::Element(MenuAction::Kind kind)
    : Element(MenuAction(kind))
{
}

MenuBuilder::MenuBuilder(OnSelection onSelection)
    : m_onSelection(std::move(onSelection))
{
}

Foundation::String MenuBuilder::titleText(Settings::Items::SortMethodGroup::Case group)
{
    switch (group) {
    case Settings::Items::SortMethodGroup::Case::title:
        return "Title";
    case Settings::Items::SortMethodGroup::Case::modifiedAt:
        return "Date Last Edited";
    case Settings::Items::SortMethodGroup::Case::createdAt:
        return "Date Added";
    }
    return {};
}

namespace {

// The symbol beside a filter: categories and tags show their names alone.
Foundation::String systemImageName(const EntryFilter& filter)
{
    if (filter.as<EntryFilter::AllItems>())
        return "tray.full";
    if (filter.as<EntryFilter::Favorites>())
        return "star";
    if (filter.as<EntryFilter::SafeForInspection>())
        return "checkmark.shield";
    if (filter.as<EntryFilter::Archived>())
        return "archivebox";
    if (filter.as<EntryFilter::Trash>())
        return "trash";
    return {};
}

} // namespace

std::shared_ptr<UIMenuElement> MenuBuilder::makeElement(const Element& element) const
{
    Foundation::String title;
    Foundation::String imageName;
    UIMenuElement::Attributes attributes;
    auto state = UIMenuElement::State::off;
    std::optional<Foundation::String> subtitle;
    if (auto action = element.as<Element::Action>()) {
        title = action->action.titleText();
        imageName = action->action.systemImageName();
        if (action->action.isDestructive())
            attributes = UIMenuElement::Attributes::destructive();
        if (m_unavailable.contains(action->action.kind()))
            attributes = attributes | UIMenuElement::Attributes::disabled();
        if (action->isSelected)
            state = action->isMixed ? UIMenuElement::State::mixed : UIMenuElement::State::on;
    } else if (auto filter = element.as<Element::Filter>()) {
        title = filter->filter.titleText();
        imageName = systemImageName(filter->filter);
        if (filter->count)
            subtitle = Foundation::String(std::to_string(*filter->count));
        if (filter->isSelected)
            state = UIMenuElement::State::on;
    } else if (auto sort = element.as<Element::Sort>()) {
        title = Shared::titleText(sort->sortMethod);
        if (sort->isSelected)
            state = UIMenuElement::State::on;
    }
    auto handler = [onSelection = m_onSelection, element](const std::shared_ptr<UIKit::UIAction>&) {
        if (onSelection)
            onSelection(element);
    };
    auto result = Foundation::make<UIKit::UIAction>(std::move(title), std::move(handler), std::nullopt, attributes, state);
    result->setSubtitle(std::move(subtitle));
    result->setImage(UIKit::UIImage::systemImage(imageName));
    return result;
}

void MenuBuilder::add(const Element& element, bool condition)
{
    if (condition)
        m_sections.push_back(inlineSection({makeElement(element)}));
}

void MenuBuilder::addRow(const Row& elements, bool condition)
{
    if (!condition || elements.empty())
        return;
    std::vector<std::shared_ptr<UIMenuElement>> children;
    for (const auto& element : elements)
        children.push_back(makeElement(element));
    m_sections.push_back(inlineSection(std::move(children), UIMenu::Options::displayAsPalette()));
}

void MenuBuilder::addGroup(const std::function<void(std::vector<Element>&)>& elements, bool condition)
{
    if (!condition || !elements)
        return;
    std::vector<Element> group;
    elements(group);
    if (group.empty())
        return;
    std::vector<std::shared_ptr<UIMenuElement>> children;
    for (const auto& element : group)
        children.push_back(makeElement(element));
    m_sections.push_back(inlineSection(std::move(children)));
}

void MenuBuilder::addSubmenus(const std::vector<Submenu>& submenus, bool condition)
{
    if (!condition)
        return;
    std::vector<std::shared_ptr<UIMenuElement>> menus;
    for (const auto& submenu : submenus) {
        std::vector<std::shared_ptr<UIMenuElement>> rows;
        for (const auto& row : submenu.rows) {
            if (row.empty())
                continue;
            std::vector<std::shared_ptr<UIMenuElement>> children;
            for (const auto& element : row)
                children.push_back(makeElement(element));
            rows.push_back(inlineSection(std::move(children)));
        }
        if (!rows.empty())
            menus.push_back(Foundation::make<UIMenu>(submenu.title, std::move(rows)));
    }
    if (!menus.empty())
        m_sections.push_back(inlineSection(std::move(menus)));
}

std::vector<std::shared_ptr<UIMenuElement>> MenuBuilder::categorySections(const std::set<EntryCategory>& selected) const
{
    std::vector<std::shared_ptr<UIMenuElement>> sections;
    for (auto group : EntryCategoryGroup::allCases()) {
        std::vector<std::shared_ptr<UIMenuElement>> children;
        for (auto category : EntryCategoryGroup::categories(group)) {
            Element::Action action {MenuAction::changeItemCategory(category), selected.contains(category), selected.size() > 1};
            children.push_back(makeElement(Element(action)));
        }
        if (!children.empty())
            sections.push_back(inlineMenu(EntryCategoryGroup::titleText(group), std::move(children)));
    }
    return sections;
}

void MenuBuilder::addEntryCategoryMenu(EntryCategory currentlySelectedCategory)
{
    for (auto& section : categorySections({currentlySelectedCategory}))
        m_sections.push_back(std::move(section));
}

void MenuBuilder::addEntryCategorySubmenu(const std::set<EntryCategory>& currentlySelectedCategories)
{
    auto submenu = Foundation::make<UIMenu>(Foundation::String("Category"), categorySections(currentlySelectedCategories));
    m_sections.push_back(inlineSection({submenu}));
}

std::shared_ptr<UIKit::UIMenu> MenuBuilder::build(const Foundation::String& title) const
{
    return Foundation::make<UIMenu>(title, m_sections);
}

} // namespace Shared
