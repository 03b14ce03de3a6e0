#pragma once

#include "Corvendale/Screens/Items/EntriesCoordinatorDelegate.hpp"

#include "Platform/Foundation/NSObject.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace CorvendaleTests {

// Writes every call it receives as one line: the operation and its arguments.
class RecordingEntriesCoordinatorDelegate : public Foundation::NSObject, public Corvendale::EntriesCoordinatorDelegate {
public:
    std::vector<std::string> calls;
    std::vector<Foundation::String> displayedEntryIDs;
    bool showingPasswordHistory = false;

    void didUpdate(const std::vector<Foundation::String>& ids, Corvendale::EntriesCoordinator&) override { record("didUpdate", ids); }
    void didSelectEdit(const Foundation::String& id, Corvendale::EntriesCoordinator&) override { record("didSelectEdit", {id}); }
    void didSelectReplaceExistingDataWithiCloudData(Corvendale::EntriesCoordinator&) override { record("didSelectReplaceExistingDataWithiCloudData", {}); }
    void didSelectOpenInBrowser(const Foundation::String& id, Corvendale::EntriesCoordinator&) override { record("didSelectOpenInBrowser", {id}); }
    void didSelectOpenInBrowserAndQuit(const Foundation::String& id, Corvendale::EntriesCoordinator&) override
    {
        record("didSelectOpenInBrowserAndQuit", {id});
    }
    void didSelectChangeCategory(Shared::EntryCategory category, const std::vector<Foundation::String>& ids, Corvendale::EntriesCoordinator&) override
    {
        record("didSelectChangeCategory " + Shared::titleText(category).utf8(), ids);
    }
    void copyUsername(const Foundation::String& id) override { record("copyUsername", {id}); }
    void copyPassword(const Foundation::String& id) override { record("copyPassword", {id}); }
    void copyOneTimePassword(const Foundation::String& id) override { record("copyOneTimePassword", {id}); }
    void presentLargeFirstCopyablePassword(const Foundation::String& id, bool animated) override
    {
        record(std::string("presentLargeFirstCopyablePassword") + (animated ? " animated" : ""), {id});
    }
    void presentLargeFirstCopyableOneTimePassword(const Foundation::String& id, bool animated) override
    {
        record(std::string("presentLargeFirstCopyableOneTimePassword") + (animated ? " animated" : ""), {id});
    }
    void updateIsFavorite(bool value, const std::vector<Foundation::String>& ids) override { record(flag("isFavorite", value), ids); }
    void updateIsArchived(bool value, const std::vector<Foundation::String>& ids) override { record(flag("isArchived", value), ids); }
    void updateIsTrashed(bool value, const std::vector<Foundation::String>& ids) override { record(flag("isTrashed", value), ids); }
    void permanentlyDelete(const std::vector<Foundation::String>& ids) override { record("permanentlyDelete", ids); }
    void duplicate(const DuplicateResult& result, bool selectDuplicatedEntries) override
    {
        std::string line = std::string("duplicate") + (selectDuplicatedEntries ? " selecting" : "");
        if (result.failureValue())
            line += " failed";
        record(line, result.successValue() ? *result.successValue() : std::vector<Foundation::String> {});
    }
    void showPasswordHistory() override { record("showPasswordHistory", {}); }
    void hidePasswordHistory() override { record("hidePasswordHistory", {}); }
    bool isShowingPasswordHistory() const override { return showingPasswordHistory; }
    bool isDisplayingEntry(const Foundation::String& id) const override
    {
        return std::find(displayedEntryIDs.begin(), displayedEntryIDs.end(), id) != displayedEntryIDs.end();
    }
    void attemptPresentAddEntry(Shared::EntryCategory source, bool animated) override
    {
        record("attemptPresentAddEntry " + Shared::titleText(source).utf8() + (animated ? " animated" : ""), {});
    }
    void presentSettings(bool animated) override { record(std::string("presentSettings") + (animated ? " animated" : ""), {}); }

protected:
    friend Foundation::Construct;
    RecordingEntriesCoordinatorDelegate() = default;

private:
    static std::string flag(const char* name, bool value) { return std::string(name) + (value ? " true" : " false"); }
    void record(std::string line, const std::vector<Foundation::String>& ids)
    {
        for (const auto& id : ids)
            line += " " + id.utf8();
        calls.push_back(std::move(line));
    }
};

} // namespace CorvendaleTests
