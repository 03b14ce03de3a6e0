#pragma once

#include "Corvendale/Screens/Details/EntryDetailsCoordinatorDelegate.hpp"
#include "Corvendale/Screens/LargeViewer/LargeViewerV.Content.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <optional>
#include <string>
#include <vector>

namespace CorvendaleTests {

// Stands in for the main coordinator: remembers what the details asked of it.
class RecordingEntryDetailsCoordinatorDelegate : public Foundation::NSObject, public Corvendale::EntryDetailsCoordinatorDelegate {
public:
    std::vector<std::string> calls;
    std::vector<Foundation::String> banners;
    std::vector<Corvendale::LargeViewerVContent> largeViewerContents;
    bool presentsDetails = false;
    bool isSelectingMultiple = false;

    bool isPresenting(const UIKit::UIViewController&) const override { return presentsDetails; }
    void dismissPresented(UIKit::UIViewController&) override
    {
        calls.push_back("dismissPresented");
        presentsDetails = false;
    }
    bool isSelectingMultipleEntries() const override { return isSelectingMultiple; }
    void selectEntryInList(const Foundation::String& entryID) override { calls.push_back("selectEntryInList " + entryID.utf8()); }
    void presentInAppNotification(const Foundation::String& text) override { banners.push_back(text); }
    void presentLargeViewer(const Corvendale::LargeViewerVContent& content) override { largeViewerContents.push_back(content); }
    void updateIsFavorite(bool isFavorite, const std::vector<Foundation::String>& ids) override { record("favorite", isFavorite, ids); }
    void updateIsArchived(bool isArchived, const std::vector<Foundation::String>& ids) override { record("archived", isArchived, ids); }
    void updateIsTrashed(bool isTrashed, const std::vector<Foundation::String>& ids) override { record("trashed", isTrashed, ids); }
    void permanentlyDelete(const std::vector<Foundation::String>& ids) override { record("permanentlyDelete", true, ids); }
    void duplicate(const std::vector<Foundation::String>& ids) override { record("duplicate", true, ids); }

protected:
    friend Foundation::Construct;
    RecordingEntryDetailsCoordinatorDelegate() = default;

private:
    void record(const char* what, bool value, const std::vector<Foundation::String>& ids)
    {
        std::string call = std::string(what) + (value ? " true" : " false");
        for (const auto& id : ids)
            call += " " + id.utf8();
        calls.push_back(call);
    }
};

} // namespace CorvendaleTests
