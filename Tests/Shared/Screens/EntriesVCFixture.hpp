#pragma once

#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Screens/EntriesVCDelegate.hpp"
#include "Shared/Screens/Menu.Builder.hpp"

#include "Platform/UIKit/UIMenu.hpp"

#include <string>
#include <vector>

namespace SharedTests {

// An owner for the item list that answers from memory and writes down every call.
class RecordingEntriesDelegate : public Shared::EntriesVCDelegate, public Foundation::NSObject {
public:
    std::vector<Shared::EntryIndex> entries;
    std::vector<std::string> log;
    int entryIndicesRequests = 0;
    std::vector<Foundation::String> lastSelection;

    static Shared::EntryIndex entry(const std::string& id, const std::string& title, const std::string& subtitle = "")
    {
        Shared::EntryIndex index;
        index.entryID = Foundation::String(id);
        index.title = Foundation::String(title);
        index.subtitle = Foundation::String(subtitle);
        return index;
    }

    bool canShowEntries(Shared::EntriesVC&) override { return true; }
    Shared::Settings::Items::SortMethod sortMethod(const Shared::Entry::Filter&, Shared::EntriesVC&) override
    {
        return Shared::Settings::Items::defaultSortMethod;
    }
    Shared::EntriesVCItems entryIndices(const Shared::Entry::Filter& filter, Shared::Settings::Items::SortMethod, Shared::EntriesVC&) override
    {
        ++entryIndicesRequests;
        std::vector<Shared::EntryIndex> result;
        for (const auto& index : entries)
            if (filter.matches(index))
                result.push_back(index);
        return result;
    }
    void didUpdateSearchText(Shared::EntriesVC& list) override { log.push_back("search " + list.searchText().utf8()); }
    void didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, bool, Shared::EntriesVC&) override
    {
        lastSelection = selectedEntryIDs;
        std::string text = "selected";
        for (const auto& id : selectedEntryIDs)
            text += " " + id.utf8();
        log.push_back(text);
    }
    std::shared_ptr<UIKit::UIMenu> contextMenu(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>&,
                                               Shared::EntriesVC&) override
    {
        log.push_back("context menu for " + std::to_string(entryIDs.size()));
        Shared::Menu::Builder builder([this](const auto&) { log.push_back("menu choice"); });
        builder.add(Shared::Menu::Action::Kind::duplicate);
        return builder.build();
    }
    void didRequestSearchFocus(Shared::EntriesVC& list) override
    {
        log.push_back("search focus");
        list.focusSearch();
    }
    void needsUpdate(Shared::EntriesVC&) override { log.push_back("needs update"); }
    std::optional<Foundation::String> username(const Foundation::String&, Shared::EntriesVC&) override { return Foundation::String("alice"); }
    void copyUsername(const Foundation::String& entryID, SwipeCompletion completion, Shared::EntriesVC&) override
    {
        log.push_back("copy username " + entryID.utf8());
        completion(true);
    }
    std::optional<Foundation::String> password(const Foundation::String&, Shared::EntriesVC&) override { return std::nullopt; }
    void copyPassword(const Foundation::String&, SwipeCompletion completion, Shared::EntriesVC&) override { completion(true); }
    std::optional<Foundation::String> oneTimePassword(const Foundation::String&, Shared::EntriesVC&) override { return std::nullopt; }
    void copyOneTimePassword(const Foundation::String&, SwipeCompletion completion, Shared::EntriesVC&) override { completion(true); }
    bool allowsLeadingSwipeActions(Shared::EntriesVC&) override { return true; }
    bool allowsTrailingSwipeActions(Shared::EntriesVC&) override { return true; }
    void swiped(const char* what, const Foundation::String& entryID, SwipeCompletion& completion)
    {
        log.push_back(std::string(what) + " " + entryID.utf8());
        completion(true);
    }
    void didSwipeToFavorite(const Foundation::String& id, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, Shared::EntriesVC&) override
    {
        swiped("favorite", id, c);
    }
    void didSwipeToUnfavorite(const Foundation::String& id, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, Shared::EntriesVC&) override
    {
        swiped("unfavorite", id, c);
    }
    void didSwipeToDuplicate(const Foundation::String& id, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, Shared::EntriesVC&) override
    {
        swiped("duplicate", id, c);
    }
    void didSwipeToShare(const Foundation::String& id, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, Shared::EntriesVC&) override
    {
        swiped("share", id, c);
    }
    void didSwipeToArchive(const Foundation::String& id, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, Shared::EntriesVC&) override
    {
        swiped("archive", id, c);
    }
    void didSwipeToUnarchive(const Foundation::String& id, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, Shared::EntriesVC&) override
    {
        swiped("unarchive", id, c);
    }
    void didSwipeToMoveToTrash(const Foundation::String& id, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, Shared::EntriesVC&) override
    {
        swiped("trash", id, c);
    }
    void didSwipeToRestore(const Foundation::String& id, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, Shared::EntriesVC&) override
    {
        swiped("restore", id, c);
    }
    void didSwipeToDeletePermanently(const Foundation::String& id, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, Shared::EntriesVC&) override
    {
        swiped("delete", id, c);
    }
    bool isBeingDisplayedInExpandedSplitView(Shared::EntriesVC&) override { return true; }
    void didSelectSyncStatusIndicator(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override { log.push_back("sync status"); }
    void didSelectSettings(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override { log.push_back("settings"); }
    void didSelectSelect(Shared::EntriesVC& list) override
    {
        log.push_back("select");
        list.setSelectingMultiple(!list.isSelectingMultiple(), false);
    }
    void didSelectCancel(Shared::EntriesVC&) override { log.push_back("cancel"); }
    void didSelectDone(Shared::EntriesVC& list) override
    {
        log.push_back("done");
        list.setSelectingMultiple(false, false);
    }
    void didSelectSelectAll(Shared::EntriesVC& list) override { list.selectAll(); }
    void didSelectDeselectAll(Shared::EntriesVC& list) override { list.deselectAll(); }
    void bulk(const char* what, Shared::EntriesVC& list)
    {
        log.push_back(std::string(what) + " " + std::to_string(list.selectedEntryIDs().size()));
    }
    void didSelectFavorite(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC& list) override { bulk("bulk favorite", list); }
    void didSelectUnfavorite(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC& list) override { bulk("bulk unfavorite", list); }
    void didSelectDuplicate(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC& list) override { bulk("bulk duplicate", list); }
    void didSelectArchive(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC& list) override { bulk("bulk archive", list); }
    void didSelectUnarchive(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC& list) override { bulk("bulk unarchive", list); }
    void didSelectMoveToTrash(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC& list) override { bulk("bulk trash", list); }
    void didSelectRestore(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC& list) override { bulk("bulk restore", list); }
    void didSelectDeletePermanently(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC& list) override { bulk("bulk delete", list); }
    std::shared_ptr<UIKit::UIMenu> contextMenu(UIKit::UIButton&) override
    {
        Shared::Menu::Builder builder([this](const Shared::Menu::Builder::Element&) { log.push_back("filter choice"); });
        builder.add(Shared::Menu::Builder::Element::filter(Shared::Entry::Filter::trash(), 0, false));
        return builder.build();
    }
    std::shared_ptr<UIKit::UIMenu> newItemMenu(UIKit::UIButton&) override
    {
        Shared::Menu::Builder builder([this](const Shared::Menu::Builder::Element&) { log.push_back("new item"); });
        builder.add(Shared::Menu::Action::changeItemCategory(Shared::EntryCategory::login));
        return builder.build();
    }
    void didActivate(const Foundation::String& entryID, Shared::EntriesVC&) override { log.push_back("activate " + entryID.utf8()); }

protected:
    friend Foundation::Construct;
    RecordingEntriesDelegate() = default;
};

} // namespace SharedTests
