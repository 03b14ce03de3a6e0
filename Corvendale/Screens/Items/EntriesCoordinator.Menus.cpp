#include "Corvendale/Screens/Items/EntriesCoordinator.Menus.hpp"

#include "Corvendale/Screens/Items/EntriesCoordinator.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinatorDelegate.hpp"

#include "Shared/Metricove/AnalyticsStore.hpp"
#include "Shared/Screens/Menu.Action.hpp"
#include "Shared/Screens/Menu.Builder.hpp"
#include "Shared/Screens/UIAlertController.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <algorithm>
#include <set>

namespace Corvendale {

namespace {

using Kind = Shared::MenuAction::Kind;
using Element = Shared::MenuBuilder::Element;
using Shared::MenuAction;

// The history the list's menu shows or hides is the password's.
constexpr const char* passwordHistoryID = "Password";

Basalwork::PresentationSource anchor(const std::shared_ptr<UIKit::UIView>& sourceView)
{
    return Basalwork::PresentationSource::view(sourceView);
}

bool canOpen(const std::optional<Foundation::URL>& url)
{
    return url && UIKit::UIApplication::shared()->canOpenURL(*url);
}

} // namespace

EntriesCoordinatorMenus::EntriesCoordinatorMenus(std::weak_ptr<Host> host, std::shared_ptr<Shared::RecordStore> recordStore,
                                                 std::shared_ptr<Shared::PreferenceStore> preferenceStore,
                                                 std::shared_ptr<Metricove::AnalyticsStore> analyticsStore)
    : m_host(std::move(host))
    , m_recordStore(std::move(recordStore))
    , m_preferenceStore(std::move(preferenceStore))
    , m_analyticsStore(std::move(analyticsStore))
{
}

std::shared_ptr<EntriesCoordinatorDelegate> EntriesCoordinatorMenus::delegate() const
{
    auto host = m_host.lock();
    return host ? host->entriesCoordinatorDelegate() : nullptr;
}

// --- Context menus ------------------------------------------------------------------------------------

std::shared_ptr<UIKit::UIMenu> EntriesCoordinatorMenus::contextMenu(const std::vector<Foundation::String>& entryIDs,
                                                                    const std::shared_ptr<UIKit::UIView>& sourceView) const
{
    auto host = m_host.lock();
    if (!host || host->isMultiSelecting() || entryIDs.empty())
        return nullptr;
    try {
        if (entryIDs.size() == 1) {
            auto entry = m_recordStore->entry(entryIDs.front());
            return entry ? oneItemMenu(*entry, sourceView) : nullptr;
        }
        auto entries = m_recordStore->entries(entryIDs);
        return entries.empty() ? nullptr : severalItemsMenu(entries, entryIDs, sourceView);
    } catch (const Foundation::Error& error) {
        host->handleUnexpectedError(error, "contextMenu(entryIDs:sourceView:entriesTVC:)");
        return nullptr;
    }
}

Shared::MenuBuilder EntriesCoordinatorMenus::makeBuilder(const std::vector<Foundation::String>& entryIDs,
                                                         const std::shared_ptr<UIKit::UIView>& sourceView) const
{
    Shared::MenuBuilder builder([menus = *this, entryIDs, sourceView](const Element& element) {
        if (const auto* chosen = element.as<Element::Action>(); chosen && !menus.m_host.expired())
            menus.perform(chosen->action, entryIDs, sourceView);
    });
    // The large-type viewer is not part of this program yet.
    builder.setUnavailable({Shared::MenuAction::Kind::showPasswordInLargeType, Shared::MenuAction::Kind::showOneTimePasswordInLargeType});
    return builder;
}

std::shared_ptr<UIKit::UIMenu> EntriesCoordinatorMenus::oneItemMenu(const Shared::Entry& entry,
                                                                    const std::shared_ptr<UIKit::UIView>& sourceView) const
{
    const bool inTrash = entry.isTrashed();
    const auto username = entry.copyableUsername();
    const auto password = entry.firstCopyablePassword();
    const auto oneTimePassword = entry.firstCopyableOneTimePassword(Foundation::Date::now());
    auto builder = makeBuilder({entry.id}, sourceView);

    builder.add(Kind::edit, !inTrash);
    builder.addGroup([&](std::vector<Element>& group) {
        if (username)
            group.emplace_back(MenuAction::copyUsername(*username));
        if (password)
            group.emplace_back(MenuAction::copyPassword(*password));
        if (oneTimePassword)
            group.emplace_back(MenuAction::copyOneTimePassword(*oneTimePassword));
    });
    builder.addGroup([&](std::vector<Element>& group) {
        if (canOpen(entry.websiteURL())) {
            group.emplace_back(Kind::openWebsite);
            group.emplace_back(Kind::openWebsiteAndQuit);
        }
    });
    builder.addGroup([&](std::vector<Element>& group) {
        if (password)
            group.emplace_back(MenuAction::showPasswordInLargeType(*password));
        if (oneTimePassword)
            group.emplace_back(MenuAction::showOneTimePasswordInLargeType(*oneTimePassword));
    });
    if (auto delegate = this->delegate(); delegate && delegate->isDisplayingEntry(entry.id) && !entry.passwordHistory.empty())
        builder.add(delegate->isShowingPasswordHistory() ? MenuAction::hideHistory(passwordHistoryID) : MenuAction::showHistory(passwordHistoryID));
    builder.addEntryCategorySubmenu({entry.category});
    builder.addGroup([&](std::vector<Element>& group) {
        if (inTrash) {
            group.emplace_back(Kind::archive);
            return;
        }
        group.emplace_back(entry.isFavorite ? Kind::unfavorite : Kind::favorite);
        group.emplace_back(Kind::duplicate);
        group.emplace_back(Kind::share);
        group.emplace_back(entry.isArchived ? Kind::unarchive : Kind::archive);
    });
    builder.addGroup([&](std::vector<Element>& group) {
        if (inTrash) {
            group.emplace_back(Kind::restore);
            group.emplace_back(Kind::deletePermanently);
        } else {
            group.emplace_back(Kind::moveToTrash);
        }
    });
    return builder.build();
}

std::shared_ptr<UIKit::UIMenu> EntriesCoordinatorMenus::severalItemsMenu(const std::vector<Shared::Entry>& entries,
                                                                         const std::vector<Foundation::String>& entryIDs,
                                                                         const std::shared_ptr<UIKit::UIView>& sourceView) const
{
    std::set<Shared::EntryCategory> categories;
    for (const auto& entry : entries)
        categories.insert(entry.category);
    const bool anyInTrash = std::ranges::any_of(entries, [](const auto& entry) { return entry.isTrashed(); });
    const bool anyNotFavorite = std::ranges::any_of(entries, [](const auto& entry) { return !entry.isFavorite; });
    const bool anyNotArchived = std::ranges::any_of(entries, [](const auto& entry) { return !entry.isArchived; });

    auto builder = makeBuilder(entryIDs, sourceView);
    builder.addEntryCategorySubmenu(categories);
    builder.addGroup([&](std::vector<Element>& group) {
        if (anyInTrash) {
            group.emplace_back(Kind::archive);
            return;
        }
        group.emplace_back(anyNotFavorite ? Kind::favorite : Kind::unfavorite);
        group.emplace_back(Kind::duplicate);
        group.emplace_back(anyNotArchived ? Kind::archive : Kind::unarchive);
    });
    builder.addGroup([&](std::vector<Element>& group) {
        if (anyInTrash) {
            group.emplace_back(Kind::restore);
            group.emplace_back(Kind::deletePermanently);
        } else {
            group.emplace_back(Kind::moveToTrash);
        }
    });
    return builder.build();
}

void EntriesCoordinatorMenus::perform(const MenuAction& action, const std::vector<Foundation::String>& entryIDs,
                                      const std::shared_ptr<UIKit::UIView>& sourceView) const
{
    auto host = m_host.lock();
    auto delegate = this->delegate();
    if (!host || !delegate || entryIDs.empty())
        return;
    auto coordinator = host->entriesCoordinator();
    const auto& first = entryIDs.front();
    switch (action.kind()) {
    case Kind::showHistory:
        return delegate->showPasswordHistory();
    case Kind::hideHistory:
        return delegate->hidePasswordHistory();
    case Kind::changeItemCategory:
        if (const auto* category = action.as<MenuAction::ItemCategory>(); category && coordinator)
            delegate->didSelectChangeCategory(category->category, entryIDs, *coordinator);
        return;
    case Kind::copyUsername:
        return delegate->copyUsername(first);
    case Kind::copyPassword:
        return delegate->copyPassword(first);
    case Kind::copyOneTimePassword:
        return delegate->copyOneTimePassword(first);
    case Kind::showPasswordInLargeType:
        return delegate->presentLargeFirstCopyablePassword(first, true);
    case Kind::showOneTimePasswordInLargeType:
        return delegate->presentLargeFirstCopyableOneTimePassword(first, true);
    case Kind::openWebsite:
        if (coordinator)
            delegate->didSelectOpenInBrowser(first, *coordinator);
        return;
    case Kind::openWebsiteAndQuit:
        if (coordinator)
            delegate->didSelectOpenInBrowserAndQuit(first, *coordinator);
        return;
    case Kind::edit:
        if (coordinator)
            delegate->didSelectEdit(first, *coordinator);
        return;
    case Kind::favorite:
    case Kind::unfavorite:
        return delegate->updateIsFavorite(action.kind() == Kind::favorite, entryIDs);
    case Kind::duplicate:
        return duplicate(entryIDs, sourceView);
    case Kind::archive:
        return archive(entryIDs, sourceView);
    case Kind::unarchive:
        return delegate->updateIsArchived(false, entryIDs);
    case Kind::moveToTrash:
        return moveToTrash(entryIDs, sourceView);
    case Kind::restore:
        return delegate->updateIsTrashed(false, entryIDs);
    case Kind::deletePermanently:
        return deletePermanently(entryIDs, sourceView);
    case Kind::share:
        return host->shareEntry(first);
    default:
        return;
    }
}

// --- Confirmed actions --------------------------------------------------------------------------------

void EntriesCoordinatorMenus::present(const std::shared_ptr<UIKit::UIViewController>& confirmation) const
{
    if (auto host = m_host.lock())
        if (auto presenter = host->viewController())
            presenter->present(confirmation, true);
}

void EntriesCoordinatorMenus::duplicate(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>& sourceView,
                                        std::function<void()> didAct) const
{
    auto host = m_host.lock();
    if (!host)
        return;
    // Whether the copies are selected is decided as the user acts, not when the copies are there.
    const bool selectDuplicatedEntries = host->isBeingDisplayedInExpandedSplitView();
    auto run = [menus = *this, entryIDs, selectDuplicatedEntries, didAct] {
        menus.m_recordStore->duplicate(entryIDs, Basalwork::ResultHandler<Shared::RecordStore::DuplicateResult>(
                                                     Foundation::DispatchQueue::main(),
                                                     [menus, selectDuplicatedEntries](Shared::RecordStore::DuplicateResult result) {
                                                         if (auto delegate = menus.delegate())
                                                             delegate->duplicate(result, selectDuplicatedEntries);
                                                     }));
        if (didAct)
            didAct();
    };
    if (m_preferenceStore->duplicateConfirmation() == Shared::Settings::Items::DuplicateConfirmation::disabled)
        return run();
    present(Shared::UIAlertControllers::makeDuplicateConfirmation(entryIDs, anchor(sourceView), true,
                                                                  [preferenceStore = m_preferenceStore, run](bool askAgain) {
                                                                      if (!askAgain)
                                                                          preferenceStore->setDuplicateConfirmation(
                                                                              Shared::Settings::Items::DuplicateConfirmation::disabled);
                                                                      run();
                                                                  }));
}

void EntriesCoordinatorMenus::archive(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>& sourceView,
                                      std::function<void()> didAct) const
{
    auto run = [menus = *this, entryIDs, didAct] {
        if (auto delegate = menus.delegate())
            delegate->updateIsArchived(true, entryIDs);
        if (didAct)
            didAct();
    };
    if (m_preferenceStore->archiveConfirmation() == Shared::Settings::Items::ArchiveConfirmation::disabled)
        return run();
    present(Shared::UIAlertControllers::makeArchiveConfirmation(anchor(sourceView), true, [preferenceStore = m_preferenceStore, run](bool askAgain) {
        if (!askAgain)
            preferenceStore->setArchiveConfirmation(Shared::Settings::Items::ArchiveConfirmation::disabled);
        run();
    }));
}

void EntriesCoordinatorMenus::moveToTrash(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>& sourceView,
                                          std::function<void()> didAct) const
{
    auto run = [menus = *this, entryIDs, didAct] {
        if (auto delegate = menus.delegate())
            delegate->updateIsTrashed(true, entryIDs);
        if (didAct)
            didAct();
    };
    if (m_preferenceStore->moveToTrashConfirmation() == Shared::Settings::Items::MoveToTrashConfirmation::disabled)
        return run();
    present(Shared::UIAlertControllers::makeMoveToTrashConfirmation(static_cast<std::int64_t>(entryIDs.size()), anchor(sourceView), true,
                                                                    [preferenceStore = m_preferenceStore, run](bool askAgain) {
                                                                        if (!askAgain)
                                                                            preferenceStore->setMoveToTrashConfirmation(
                                                                                Shared::Settings::Items::MoveToTrashConfirmation::disabled);
                                                                        run();
                                                                    }));
}

void EntriesCoordinatorMenus::deletePermanently(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>& sourceView,
                                                std::function<void()> didAct) const
{
    present(Shared::UIAlertControllers::makePermanentlyDeleteConfirmation(anchor(sourceView), [menus = *this, entryIDs, didAct] {
        if (auto delegate = menus.delegate())
            delegate->permanentlyDelete(entryIDs);
        if (didAct)
            didAct();
    }));
}

// --- The new-item menu and the filter menu --------------------------------------------------------------

std::shared_ptr<UIKit::UIMenu> EntriesCoordinatorMenus::newItemMenu(std::function<void(Shared::EntryCategory)> onCategory)
{
    Shared::MenuBuilder builder([onCategory](const Element& element) {
        const auto* chosen = element.as<Element::Action>();
        if (!chosen || !onCategory)
            return;
        if (const auto* category = chosen->action.as<MenuAction::ItemCategory>(); category && chosen->action.kind() == Kind::changeItemCategory)
            onCategory(category->category);
    });
    builder.addGroup([](std::vector<Element>& group) {
        for (auto category : Shared::standardEntryCategories())
            group.emplace_back(MenuAction::changeItemCategory(category));
    });
    std::vector<Shared::MenuBuilder::Submenu> submenus;
    for (auto group : Shared::EntryCategoryGroup::allCases()) {
        Shared::MenuBuilder::Row row;
        for (auto category : Shared::EntryCategoryGroup::categories(group))
            row.emplace_back(MenuAction::changeItemCategory(category));
        submenus.push_back({Shared::EntryCategoryGroup::titleText(group), {row}});
    }
    builder.addSubmenus(submenus);
    return builder.build();
}

std::shared_ptr<UIKit::UIMenu> EntriesCoordinatorMenus::newItemMenu() const
{
    return newItemMenu([menus = *this](Shared::EntryCategory category) {
        if (auto delegate = menus.delegate())
            delegate->attemptPresentAddEntry(category, true);
    });
}

std::shared_ptr<UIKit::UIMenu> EntriesCoordinatorMenus::filterMenu(const Shared::EntryFilter& selectedFilter,
                                                                   const EntriesCoordinatorRecentCategoryFilters& recentCategoryFilters) const
{
    auto onSelection = [menus = *this, selectedFilter](const Element& element) {
        auto host = menus.m_host.lock();
        if (!host)
            return;
        if (const auto* filter = element.as<Element::Filter>())
            host->didSelectFilter(filter->filter);
        else if (const auto* sort = element.as<Element::Sort>())
            menus.m_preferenceStore->setSortMethod(sort->sortMethod, selectedFilter);
    };
    // Counting fails only with the record store; the filter is then shown without a count where it is
    // always shown, and left out where it depends on its items.
    auto count = [this](const Shared::EntryFilter& filter) -> std::optional<std::int64_t> {
        try {
            return m_recordStore->count(filter);
        } catch (const Foundation::Error&) {
            m_analyticsStore->track(Metricove::AnalyticsEvent::message(
                Foundation::String("EntriesCoordinator.contextMenu(titleButton:), filter: " + filter.titleText().utf8())));
            return std::nullopt;
        }
    };
    auto always = [&](const Shared::EntryFilter& filter) { return Element::filter(filter, count(filter), filter == selectedFilter); };
    auto whenMatching = [&](const Shared::EntryFilter& filter, std::vector<Element>& into) {
        auto counted = count(filter);
        if (counted && *counted > 0)
            into.push_back(Element::filter(filter, counted, filter == selectedFilter));
    };

    Shared::MenuBuilder builder(onSelection);
    builder.addGroup([&](std::vector<Element>& group) {
        group.push_back(always(Shared::EntryFilter::allItems()));
        whenMatching(Shared::EntryFilter::favorites(), group);
    });
    builder.addGroup([&](std::vector<Element>& group) {
        for (const auto& filter : recentCategoryFilters)
            whenMatching(filter, group);
    });
    std::vector<Shared::MenuBuilder::Submenu> categoryGroups;
    for (auto group : Shared::EntryCategoryGroup::allCases()) {
        Shared::MenuBuilder::Row row;
        for (auto category : Shared::EntryCategoryGroup::categories(group))
            whenMatching(Shared::EntryFilter::category(category), row);
        categoryGroups.push_back({Shared::EntryCategoryGroup::titleText(group), {row}});
    }
    builder.addSubmenus(categoryGroups);
    try {
        auto tags = m_recordStore->tagsInUse();
        Shared::MenuBuilder::Row row;
        for (const auto& tag : tags)
            row.push_back(always(Shared::EntryFilter::tag(tag)));
        builder.addSubmenus({{"Tags", {row}}}, !row.empty());
    } catch (const Foundation::Error&) {
        m_analyticsStore->track(Metricove::AnalyticsEvent::message("EntriesCoordinator.contextMenu(titleButton:), filter: Tags"));
    }
    auto sections = builder.build()->children();

    // The sort methods' titles repeat across groups, so each group is a submenu under its own title.
    const auto currentSortMethod = m_preferenceStore->sortMethod(selectedFilter);
    std::vector<std::shared_ptr<UIKit::UIMenuElement>> sortGroups;
    for (auto group : Shared::Settings::Items::SortMethodGroup::allCases()) {
        Shared::MenuBuilder groupBuilder(onSelection);
        groupBuilder.addGroup([&](std::vector<Element>& elements) {
            for (auto method : Shared::Settings::Items::SortMethodGroup::sortMethods(group))
                elements.push_back(Element::sort(method, method == currentSortMethod));
        });
        sortGroups.push_back(groupBuilder.build(Shared::MenuBuilder::titleText(group)));
    }
    sections.push_back(Foundation::make<UIKit::UIMenu>(Foundation::String("Sort By"), std::move(sortGroups)));

    Shared::MenuBuilder lastBuilder(onSelection);
    bool offersSafeForInspection = false;
    try {
        offersSafeForInspection = m_recordStore->safeForInspectionState() == Shared::RecordStore::SafeForInspectionState::ready;
    } catch (const Foundation::Error&) {
        m_analyticsStore->track(Metricove::AnalyticsEvent::message(Foundation::String(
            "EntriesCoordinator.contextMenu(titleButton:), filter: " + Shared::EntryFilter::safeForInspection().titleText().utf8())));
    }
    lastBuilder.addGroup([&](std::vector<Element>& group) { whenMatching(Shared::EntryFilter::safeForInspection(), group); },
                         offersSafeForInspection);
    lastBuilder.addGroup([&](std::vector<Element>& group) {
        whenMatching(Shared::EntryFilter::archived(), group);
        group.push_back(always(Shared::EntryFilter::trash()));
    });
    auto last = lastBuilder.build();
    for (const auto& section : last->children())
        sections.push_back(section);
    return Foundation::make<UIKit::UIMenu>(Foundation::String(), std::move(sections));
}

} // namespace Corvendale
